#include "notessim/LineReader.h"

#include "notessim/Files.h"

namespace notessim {

LineReader::LineReader(const std::filesystem::path& path) : virtualContent_(FindVirtualFile(path)) {
    if (virtualContent_ == nullptr) file_.open(path, std::ios::binary);
}

bool LineReader::Next(std::string& line) {
    if (virtualContent_ != nullptr) {
        const std::string& content = *virtualContent_;
        if (position_ >= content.size()) return false;
        std::size_t end = content.find('\n', position_);
        if (end == std::string::npos) end = content.size();
        line.assign(content, position_, end - position_);
        position_ = end + 1;
    } else if (!std::getline(file_, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace notessim
