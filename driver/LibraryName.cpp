#include "driver/LibraryName.h"

#include <algorithm>

#include "notes/NotesStatuses.h"

namespace driver {

namespace {

// `text` converted into `size` bytes at most, cut at a character boundary; the length written.
std::uint32_t Convert(std::u16string_view text, char* out, std::uint32_t size) {
    // Longer texts are cut by the conversion anyway; this keeps the byte count in range.
    const std::size_t units = std::min<std::size_t>(text.size(), 0x10000);
    return std::min(notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                         static_cast<std::uint32_t>(units * 2), out, size),
                    size);
}

}  // namespace

bool ToLibraryName(std::u16string_view text, LibraryNameBuffer& buffer) {
    constexpr std::uint32_t kLongest = std::tuple_size_v<LibraryNameBuffer> - 1;
    // Room for more than fits: a character takes at most three bytes, so a text that does not
    // fit comes out longer than the longest even when cut.
    std::array<char, kLongest + 4> converted{};
    const std::uint32_t length = Convert(text, converted.data(), kLongest + 4);
    const bool fits = length <= kLongest && text.size() <= 0x10000;
    const std::uint32_t kept = fits ? length : Convert(text, buffer.data(), kLongest);
    if (fits) std::copy_n(converted.begin(), length, buffer.begin());
    buffer[kept] = '\0';
    return fits;
}

notes::NotesStatus OpenServerDatabase(std::u16string_view server, std::u16string_view file,
                                      notes::DatabaseOwner& database) {
    LibraryNameBuffer serverName{};
    LibraryNameBuffer fileName{};
    if (!ToLibraryName(server, serverName) || !ToLibraryName(file, fileName)) {
        return notes::kStatusPathTooLong;
    }
    LibraryNameBuffer path{};
    if (const auto status =
            notes::BuildNetworkPath(nullptr, serverName.data(), fileName.data(), path.data());
        status != 0) {
        return status;
    }
    return notes::OpenDatabase(path.data(), database.Receive());
}

}  // namespace driver
