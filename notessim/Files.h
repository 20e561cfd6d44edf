// Reading the environment's files, with an in-memory overlay that tests can fill.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace notessim {

// The whole content of `path`, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
bool FileExists(const std::filesystem::path& path);

// Makes `path` read as `content`, without touching the disk.
void SetVirtualFile(const std::filesystem::path& path, std::string content);
// The virtual content of `path`, if it has one (line-by-line readers use it as a whole).
const std::string* FindVirtualFile(const std::filesystem::path& path);
void ClearVirtualFiles();

}  // namespace notessim
