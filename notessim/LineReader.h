// Reads a file of the environment line by line, never holding more than one line; a virtual
// file (SetVirtualFile) is read from memory the same way.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace notessim {

class LineReader {
public:
    explicit LineReader(const std::filesystem::path& path);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return virtualContent_ != nullptr || file_.is_open(); }
    // The next line without its LF or CR LF; false at the end of the file or on a read error.
    bool Next(std::string& line);
    // True when reading stopped on an error rather than at the end of the file.
    bool Failed() const { return file_.bad(); }

private:
    const std::string* virtualContent_ = nullptr;
    std::size_t position_ = 0;
    std::ifstream file_;
};

}  // namespace notessim
