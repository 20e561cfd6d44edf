#include "notessim/PathText.h"

#include "platform/Text.h"

namespace notessim {

// POSIX paths are bytes and taken as they are; Windows paths are UTF-16.
#ifdef _WIN32
std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(platform::Utf8ToUtf16(text));
}

std::filesystem::path PathFromAnsi(std::string_view text) {
    return std::filesystem::path(platform::AnsiToUtf16(text));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    return platform::Utf16ToUtf8(path.u16string());
}
#else
std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(text); }

std::filesystem::path PathFromAnsi(std::string_view text) { return std::filesystem::path(text); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.string(); }
#endif

}  // namespace notessim
