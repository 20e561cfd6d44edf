// Text in the library's character set (LMBCS) as the runtime hands it out and takes it in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace notessim {

std::string Utf8ToLibraryText(std::string_view utf8);
// The same into `out`, whose storage is reused.
void Utf8ToLibraryText(std::string_view utf8, std::string& out);
std::string LibraryTextToUtf8(std::string_view lmbcs);

// Length of the longest prefix of `lmbcs` of at most `limit` bytes that ends between characters.
std::size_t LibraryTextPrefix(std::string_view lmbcs, std::size_t limit);

// Copies at most `maxBytes` bytes of `lmbcs` (cut between characters) into `buffer` and puts a
// NUL after them, so `buffer` needs `maxBytes` + 1 bytes. Returns the bytes copied.
std::size_t CopyLibraryText(std::string_view lmbcs, char* buffer, std::size_t maxBytes);

}  // namespace notessim
