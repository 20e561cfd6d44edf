// Paths from and to the runtime's 8-bit texts. The narrow std::filesystem::path conversions use
// the C runtime's code page on Windows, so every conversion here names its encoding.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace notessim {

std::filesystem::path PathFromUtf8(std::string_view text);
// The start-up arguments come in the system's ANSI code page.
std::filesystem::path PathFromAnsi(std::string_view text);
// The path as the platform writes it (backslashes on Windows), in UTF-8, for messages.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace notessim
