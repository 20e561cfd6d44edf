#include "driver/NotesSession.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/Text.h"

namespace driver {
namespace {

constexpr std::size_t kStartupArgumentSize = 260;
constexpr std::uint32_t kIdBufferSize = 1024;
constexpr std::uint16_t kUserNameSize = 256;
constexpr std::uint32_t kSwitchOptions = 8;

using StartupArgument = std::array<char, kStartupArgumentSize>;

// Fills `buffer` with the ANSI form of `text`; false when it has none or it does not fit.
bool ToStartupArgument(std::u16string_view text, StartupArgument& buffer) {
    buffer.fill('\0');
    const std::optional<std::string> ansi = platform::Utf16ToAnsi(text);
    if (!ansi || ansi->size() >= kStartupArgumentSize) return false;
    std::memcpy(buffer.data(), ansi->data(), ansi->size());
    return true;
}

void Wipe(void* buffer, std::size_t size) {
    volatile auto* bytes = static_cast<volatile unsigned char*>(buffer);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

// Converts `text` to the library's character set, terminated; false when it needs the whole
// buffer or more, since a cut ID path or password would silently name something else.
bool ToLibraryText(std::u16string_view text, std::array<char, kIdBufferSize>& buffer) {
    // One more byte than the buffer holds shows whether the text fits with its terminator.
    std::array<char, kIdBufferSize + 4> converted{};
    const std::uint32_t inputBytes =
        static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 0x7FFFFFFF / 2) * 2);
    const std::uint32_t length = notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                                      inputBytes, converted.data(),
                                                      static_cast<std::uint32_t>(converted.size()));
    const bool fits = length < kIdBufferSize;
    if (fits) {
        std::memcpy(buffer.data(), converted.data(), length);
        buffer[length] = '\0';
    }
    Wipe(converted.data(), converted.size());
    return fits;
}

}  // namespace

notes::NotesStatus StartNotesSession() {
    const ProcessArguments& process = Arguments();
    std::vector<StartupArgument> buffers;
    buffers.reserve(static_cast<std::size_t>(process.count > 0 ? process.count : 1));
    buffers.emplace_back();
    const std::u16string_view program = process.count > 0 ? process.vector[0] : u"";
    if (!ToStartupArgument(program, buffers.back())) return notes::kStatusPathTooLong;
    for (int i = 1; i < process.count; ++i) {
        const std::u16string_view argument = process.vector[i];
        if (argument.empty() || argument[0] != u'=') continue;
        if (std::ranges::find(process.passwordValues, i) != process.passwordValues.end()) continue;
        buffers.emplace_back();
        if (!ToStartupArgument(argument, buffers.back())) return notes::kStatusPathTooLong;
    }
    std::vector<char*> list;
    for (auto& buffer : buffers) list.push_back(buffer.data());
    list.push_back(nullptr);
    return notes::InitializeNotes(static_cast<int>(buffers.size()), list.data());
}

notes::NotesStatus SwitchUserId() {
    const RunSettings& settings = Settings();
    if (settings.idFile.empty() || settings.password.empty()) return 0;
    std::array<char, kIdBufferSize> idFile{};
    std::array<char, kIdBufferSize> password{};
    std::array<char, kUserNameSize> userName{};
    notes::NotesStatus status = 0;
    if (!ToLibraryText(settings.idFile, idFile)) {
        status = notes::kStatusPathTooLong;
    } else if (!ToLibraryText(settings.password, password)) {
        status = notes::kStatusPasswordTooLong;
    } else {
        status = notes::SwitchToIdFile(idFile.data(), password.data(), userName.data(),
                                       kUserNameSize, kSwitchOptions, nullptr);
    }
    Wipe(password.data(), password.size());
    return status;
}

void EndNotesSession() { notes::TerminateNotes(); }

bool EnterNotesSession() {
    const notes::LibraryLoad library = notes::LoadNotesLibrary();
    if (!library.loaded) {
        // Ends the run as a failed start does, with the loader's reason in place of a status.
        LogMessage(kLogError, platform::Utf8ToUtf16(library.failure));
        return false;
    }
    if (!library.file.empty()) {
        LogDebug(u"Notes library: %s", {platform::Utf8ToUtf16(library.file)});
    }
    notes::ReportFailedCalls([](const char* function, notes::NotesStatus status) {
        LogDebug(u"Notes library call %s returned %X",
                 {platform::Utf8ToUtf16(function), std::int64_t{status}});
    });
    if (const notes::NotesStatus status = StartNotesSession(); status != 0) {
        LogMessage(kLogError,
                   FormatWide(u"Notes initialization failed (%X)", {std::int64_t{status}}));
        return false;
    }
    // Bytes that are not UTF-8 have no exact form: read as U+FFFD they would be another
    // password, which might open the ID.
    const RunSettings& settings = Settings();
    if (!settings.idFile.empty() && !platform::IsExactText(settings.password)) {
        LogMessage(kLogError, u"Unable to switch id (the password is not valid UTF-8)");
        EndNotesSession();
        return false;
    }
    if (const notes::NotesStatus status = SwitchUserId(); status != 0) {
        LogNotesError(u"Unable to switch id (%s)", status);
        EndNotesSession();
        return false;
    }
    return true;
}

}  // namespace driver
