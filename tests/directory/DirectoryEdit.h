// Changes to the sample directory of a run (names.nsf, the runtime's JSON) before it runs.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "tests/support/AcmeRun.h"

namespace directorytest {

// Reads the names.nsf of `run`, lets `edit` change it and writes it back.
inline void EditDirectory(const testsupport::AcmeRun& run,
                          const std::function<void(nlohmann::json& names)>& edit) {
    const std::filesystem::path file = run.environment() / "names.nsf";
    auto names = nlohmann::json::parse(testsupport::ReadFile(file));
    edit(names);
    testsupport::WriteFile(file, names.dump(1));
}

// The items of the note `id` of the directory.
inline nlohmann::json& NoteItems(nlohmann::json& names, int id) {
    for (auto& note : names["notes"]) {
        if (note["id"] == id) return note["items"];
    }
    throw std::runtime_error("no note " + std::to_string(id));
}

}  // namespace directorytest
