#include "driver/LibraryName.h"

#include "notes/NotesPlatform.h"

namespace driver {

void ToLibraryName(std::u16string_view text, LibraryNameBuffer& buffer) {
    // Longer texts are cut by the conversion anyway; this keeps the byte count in range.
    const std::size_t units = text.size() < 0x10000 ? text.size() : 0x10000;
    const std::uint32_t length = notes::TranslateText(
        notes::kTranslateUnicodeToLmbcs, text.data(), static_cast<std::uint32_t>(units * 2),
        buffer.data(), static_cast<std::uint32_t>(buffer.size() - 1));
    buffer[length < buffer.size() ? length : buffer.size() - 1] = '\0';
}

}  // namespace driver
