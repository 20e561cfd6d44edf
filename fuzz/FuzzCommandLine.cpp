// The command-line parser on arbitrary argument vectors (arguments separated by NUL bytes).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/run/CommandLine.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> arguments{u"dxlexporter"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(platform::Utf8ToUtf16(current));
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    arguments.push_back(platform::Utf8ToUtf16(current));
    std::vector<const char16_t*> vector;
    for (const auto& argument : arguments) vector.push_back(argument.c_str());
    driver::RunSettings settings;
    const driver::ParsedCommandLine parsed =
        driver::ParseCommandLine(static_cast<int>(vector.size()), vector.data(), settings);
    if (parsed.outcome == driver::ParseOutcome::invalid && parsed.invalidArgument.data() == nullptr) {
        __builtin_trap();
    }
    return 0;
}
