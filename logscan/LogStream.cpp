#include "logscan/LogStream.h"

#include <algorithm>
#include <array>

namespace logscan {
namespace {

constexpr char kTypeFilter[] = "Domino.NOTES.Database|Domino.HTTP|Domino.AGENT";
constexpr std::uint32_t kNameBytes = 255;

using NameBuffer = std::array<char, kNameBytes + 1>;

void ToLibraryName(std::u16string_view text, NameBuffer& buffer) {
    const std::uint32_t units = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 0x7FFFFFFF / 2));
    const std::uint32_t length = notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                                      units * 2, buffer.data(), kNameBytes);
    buffer[std::min(length, kNameBytes)] = '\0';
}

}  // namespace

notes::NotesStatus LogStream::Open(std::u16string_view server, std::u16string_view database,
                                   const notes::TimeDate* range) {
    Close();
    NameBuffer serverName{};
    NameBuffer databaseName{};
    ToLibraryName(server, serverName);
    ToLibraryName(database, databaseName);
    const notes::NotesStatus status = notes::OpenActivityStream(
        &handle_, serverName.data(), databaseName.data(), kTypeFilter, 0, range);
    open_ = status == 0;
    return status;
}

void LogStream::Close() {
    if (!open_) return;
    notes::CloseActivityStream(handle_);
    open_ = false;
}

}  // namespace logscan
