// The runtime's loaders of environment files on arbitrary content: notes.ini and database JSON
// give a status or a result, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "notessim/DatabaseParser.h"
#include "notessim/IniFile.h"
#include "notessim/SimControl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto database = notessim::ParseDatabaseJson(content, error)) {
        for (const auto& view : database->views) {
            for (const auto& entry : view.entries) {
                if ((entry.id & 0x80000000u) == 0 && database->FindNote(entry.id) == nullptr) __builtin_trap();
            }
        }
    } else if (error.empty()) {
        __builtin_trap();
    }
    notessim::ResetRuntime();
    notessim::SetVirtualFile("fuzz/notes.ini", content);
    notessim::LoadIniFile("fuzz/notes.ini");
    notessim::ResetRuntime();
    return 0;
}
