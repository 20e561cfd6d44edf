#include "platform/Process.h"

#ifndef _WIN32
#include <cstdio>
#include <cstdlib>

#include "platform/Text.h"

namespace platform {

std::vector<std::u16string> WideArguments(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) arguments.push_back(Utf8ToUtf16KeepingBytes(argv[i]));
    return arguments;
}

std::optional<std::u16string> ReadEnvironmentVariable(const std::u16string& name) {
    const char* value = std::getenv(Utf16ToUtf8(name).c_str());
    if (value == nullptr) return std::nullopt;
    return Utf8ToUtf16KeepingBytes(value);
}

bool WriteEnvironmentVariable(const std::u16string& name, const std::u16string& value) {
    return ::setenv(Utf16ToUtf8(name).c_str(), Utf16ToUtf8(value).c_str(), 1) == 0;
}

std::optional<std::u16string> ReadProductVersion() { return Utf8ToUtf16(DXL_PRODUCT_VERSION); }

void ShowMessageBox(const std::u16string& /*caption*/, const std::u16string& text) {
    const std::string line = Utf16ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

}  // namespace platform
#endif
