#include "driver/RunSettings.h"

#include "platform/Files.h"

namespace driver {

RunSettings& Settings() {
    static RunSettings settings;
    return settings;
}

ProcessArguments& Arguments() {
    static ProcessArguments arguments;
    return arguments;
}

std::u16string JoinOutputPath(std::u16string_view suffix) {
    std::u16string path = Settings().outputDir;
    path += suffix;
    return path;
}

std::u16string OutputFilePath(std::u16string_view fileName) {
    std::u16string suffix(1, platform::kPathSeparator);
    suffix += fileName;
    return JoinOutputPath(suffix);
}

}  // namespace driver
