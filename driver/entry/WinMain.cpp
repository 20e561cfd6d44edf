// The Windows entry point: a GUI-subsystem program without a window, given its arguments as the
// platform splits the wide command line.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "driver/run/RunMain.h"
#include "platform/SharedLibrary.h"
#include "platform/StopRequest.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    platform::RemoveWorkingDirectoryFromDllSearch();
    platform::PrepareProcessSignals();
    int count = 0;
    wchar_t** split = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (split == nullptr) return 1;
    std::vector<std::u16string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::wstring_view argument = split[i];
        arguments.emplace_back(argument.begin(), argument.end());
    }
    ::LocalFree(split);

    std::vector<const char16_t*> vector;
    for (const auto& argument : arguments) vector.push_back(argument.c_str());
    vector.push_back(nullptr);
    return driver::RunMain(count, vector.data());
}
