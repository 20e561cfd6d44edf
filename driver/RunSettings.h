// The process-wide settings taken from the command line and the environment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

struct RunSettings {
    std::u16string outputDir;
    std::u16string server;
    std::u16string databasePath;
    std::u16string idFile;
    std::u16string password;
    std::u16string startTime;
    std::u16string rowLimit;
    std::int32_t logThreshold = 1;
};

inline constexpr std::u16string_view LocalServerName = u"<Local>";

// The one record of the process. Written only while the command line is read.
RunSettings& Settings();

// `outputDir` immediately followed by `suffix`, nothing inserted or removed.
std::u16string JoinOutputPath(std::u16string_view suffix);
// The path of a file in the output directory: `outputDir`, the separator, `fileName`.
std::u16string OutputFilePath(std::u16string_view fileName);

// The raw argument vector of the process, as the entry point handed it over.
struct ProcessArguments {
    int count = 0;
    const char16_t* const* vector = nullptr;
    // The values of "-password": a secret, never a start-up argument, even when it begins
    // with "=".
    std::vector<int> passwordValues;
};
ProcessArguments& Arguments();

}  // namespace driver
