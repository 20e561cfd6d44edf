#include "notessim/Files.h"

#include <fstream>
#include <map>
#include <sstream>

#include "notessim/PathText.h"

namespace notessim {
namespace {

std::map<std::string, std::string>& Overlay() {
    static std::map<std::string, std::string> overlay;
    return overlay;
}

std::string Key(const std::filesystem::path& path) {
    return PathToUtf8(path.lexically_normal().make_preferred());
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    if (const std::string* content = FindVirtualFile(path)) return *content;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool FileExists(const std::filesystem::path& path) {
    if (FindVirtualFile(path) != nullptr) return true;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void SetVirtualFile(const std::filesystem::path& path, std::string content) {
    Overlay()[Key(path)] = std::move(content);
}

const std::string* FindVirtualFile(const std::filesystem::path& path) {
    const auto found = Overlay().find(Key(path));
    return found == Overlay().end() ? nullptr : &found->second;
}

void ClearVirtualFiles() { Overlay().clear(); }

}  // namespace notessim
