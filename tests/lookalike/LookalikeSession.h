// A Notes session of the look-alike library, through its exported C functions only, on an
// environment written to a scratch folder. The library keeps its own copy of the runtime, so
// what it recorded is read from the report it writes at NotesTerm.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "notes/NotesCApi.h"
#include "tests/support/TestSupport.h"

namespace lookalikesession {

class Session : public ::testing::Test {
protected:
    // The files of the data directory, beside a notes.ini that names the report.
    void Start(const std::map<std::string, std::string>& files) {
        for (const auto& [name, content] : files) testsupport::WriteFile(scratch_ / name, content);
        testsupport::WriteFile(scratch_ / "notes.ini",
                               "[Notes]\nSimReport=" + (scratch_ / "report.json").string() + "\n");
        std::string program = "lookalike-test";
        std::string ini = "=" + (scratch_ / "notes.ini").string();
        char* argv[] = {program.data(), ini.data(), nullptr};
        ASSERT_EQ(NotesInitExtended(2, argv), 0);
        running_ = true;
    }

    // Ends the session: no handle may be left open. Gives the misuses recorded during it.
    std::vector<std::string> End() {
        NotesTerm();
        running_ = false;
        const auto report = nlohmann::json::parse(testsupport::ReadFile(scratch_ / "report.json"));
        EXPECT_EQ(report["openHandles"].size(), 0u) << report["openHandles"].dump();
        // The library's misuse list lives as long as the process, across sessions.
        const auto all = report["misuses"].get<std::vector<std::string>>();
        std::vector<std::string> recent(all.begin() + static_cast<long>(misusesBefore), all.end());
        misusesBefore = all.size();
        diagnostics_ = report["diagnostics"].get<std::vector<std::string>>();
        return recent;
    }

    void TearDown() override {
        if (running_) {
            EXPECT_EQ(End(), std::vector<std::string>{});
        }
    }

    static std::string StatusText(notesapi::STATUS status) {
        char text[256] = {};
        OSLoadString(0, status, text, sizeof text - 1);
        return text;
    }

    testsupport::ScratchDir scratch_;
    // The runtime's diagnostics as the last End() found them in the report.
    std::vector<std::string> diagnostics_;

private:
    bool running_ = false;
    static inline std::size_t misusesBefore = 0;
};

// Every misuse of `misuses` that names `function`.
inline std::size_t CountNaming(const std::vector<std::string>& misuses, const std::string& function) {
    std::size_t count = 0;
    for (const std::string& misuse : misuses) count += misuse.rfind(function + ":", 0) == 0;
    return count;
}

}  // namespace lookalikesession
