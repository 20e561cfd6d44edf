#include "driver/RunLog.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/RunSettings.h"
#include "platform/OutputFile.h"
#include "platform/Text.h"

namespace driver {
namespace {

constexpr std::array<std::u16string_view, 3> kLevelNames = {u"DEBUG", u"WARNING", u"ERROR"};

bool runLogFailed = false;

std::u16string CutToLine(std::u16string text) {
    if (text.size() > kLogLineUnits - 1) text.resize(kLogLineUnits - 1);
    return text;
}

// One entry is one line: a control character inside the text (a line end above all) would let
// the text pass for a line of its own.
void BlankControlCharacters(std::u16string& text) {
    for (char16_t& c : text) {
        if (c < u' ') c = u' ';
    }
}

}  // namespace

void LogMessage(LogLevel level, std::u16string_view text) {
    if (level < Settings().logThreshold) return;
    const std::u16string_view name = kLevelNames[level > 2 ? 2 : (level < 0 ? 0 : level)];
    std::u16string entry = u"#";
    entry += name;
    entry += u"# - ";
    entry += text;
    BlankControlCharacters(entry);
    // Only the text is cut, never the line end: the line with it must fit 1023 units, and its
    // UTF-8 form 1023 bytes (1024 with the terminator), cut at a character boundary.
    if (entry.size() > kLogLineUnits - 2) entry.resize(kLogLineUnits - 2);
    std::string bytes = platform::Utf16ToUtf8(entry);
    bytes.resize(platform::Utf8PrefixLength(bytes, kLogLineBytes - 2));
    bytes += '\n';

    // A line written in part would have the next line joined onto it: it is cut away.
    platform::OutputFile file(OutputFilePath(kRunLogFileName), platform::OpenMode::append);
    const bool written = file.IsOpen() && file.Write(bytes);
    if (!file.CloseKeepingWholeLines(!written, platform::LineEnds::lines) || !written) {
        runLogFailed = true;
    }
}

bool RunLogFailed() { return runLogFailed; }

void LogError(std::u16string_view format, std::initializer_list<FormatArgument> args) {
    LogMessage(kLogError, CutToLine(FormatWide(format, args)));
}

void LogDebug(std::u16string_view format, std::initializer_list<FormatArgument> args) {
    LogMessage(kLogDebug, CutToLine(FormatWide(format, args)));
}

void LogSystemFailure(const platform::SystemFailure& failure, std::u16string_view names) {
    const std::string text =
        platform::SystemFailureText(failure, platform::Utf16ToUtf8(std::u16string(names)));
    if (text.empty()) return;  // nothing failed
    LogMessage(kLogDebug, CutToLine(platform::Utf8ToUtf16(text)));
}

// Where the library has no text for the status, the line shows the status itself (flags
// included), so that it never ends in an empty reason.
void LogNotesError(std::u16string_view format, notes::NotesStatus status) {
    char message[256] = {};
    notes::GetStatusText(0, status & notes::kStatusMask, message, 255);
    char16_t wide[255] = {};  // 510 bytes
    std::uint32_t bytes =
        notes::TranslateText(notes::kTranslateLmbcsToUnicode, message,
                             static_cast<std::uint32_t>(std::strlen(message)), wide, 510);
    bytes &= ~1u;
    const std::size_t units = bytes / 2 < 254 ? bytes / 2 : 254;
    std::u16string reason(wide, units);
    if (reason.empty()) {
        char number[16];
        std::snprintf(number, sizeof number, "status 0x%04X", static_cast<unsigned>(status));
        reason = platform::Utf8ToUtf16(number);
    }
    LogMessage(kLogError, CutToLine(FormatWide(format, {std::u16string_view(reason)})));
}

}  // namespace driver
