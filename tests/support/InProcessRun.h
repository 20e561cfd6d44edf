// The whole program run inside the test process, over the simulated runtime linked in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "driver/run/RunMain.h"
#include "driver/RunSettings.h"
#include "notessim/SimControl.h"
#include "platform/Text.h"

namespace testsupport {

// Runs the program with `arguments` (UTF-8, the program path left out) from a fresh runtime and
// fresh settings, and gives its exit code; `prepare` runs on the fresh runtime first (to give it
// files in memory). The runtime is left as the run left it, for checks.
inline int RunMainInProcess(const std::vector<std::string>& arguments,
                            const std::function<void()>& prepare = {}) {
    notessim::ResetRuntime();
    if (prepare) prepare();
    driver::Settings() = {};
    std::vector<std::u16string> wide = {u"dxlexporter"};
    for (const std::string& argument : arguments) wide.push_back(platform::Utf8ToUtf16(argument));
    std::vector<const char16_t*> argv;
    for (const auto& argument : wide) argv.push_back(argument.c_str());
    const int exitCode = driver::RunMain(static_cast<int>(argv.size()), argv.data());
    driver::Settings() = {};
    return exitCode;
}

}  // namespace testsupport
