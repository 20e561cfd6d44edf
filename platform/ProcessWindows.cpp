#include "platform/Process.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/ModuleFileWindows.h"
#include "platform/WideChars.h"

namespace platform {

// The system's own UTF-16 arguments name exactly what they name.
std::optional<std::u16string> ReadEnvironmentVariable(const std::u16string& name) {
    const std::wstring wideName = ToWide(name);
    std::wstring value(64, L'\0');
    for (;;) {
        // An existing empty variable also returns 0, without setting an error.
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length =
            ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::u16string();
        }
        if (length < value.size()) {
            value.resize(length);
            return FromWide(value);
        }
        value.resize(length);  // the size needed, terminator included
    }
}

bool WriteEnvironmentVariable(const std::u16string& name, const std::u16string& value) {
    return ::SetEnvironmentVariableW(ToWide(name).c_str(), ToWide(value).c_str()) != 0;
}

std::optional<std::u16string> ReadProductVersion() {
    const std::wstring module = ToWide(ModuleFilePath(nullptr));
    if (module.empty()) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(module.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::wstring block((size + 1) / 2, L'\0');
    if (!::GetFileVersionInfoW(module.c_str(), 0, size, block.data())) return std::nullopt;
    void* text = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", &text,
                          &length) ||
        text == nullptr) {
        return std::nullopt;
    }
    std::wstring_view version(static_cast<const wchar_t*>(text), length);
    // The length counts the terminator.
    while (!version.empty() && version.back() == L'\0') version.remove_suffix(1);
    return FromWide(version);
}

void ShowMessageBox(const std::u16string& caption, const std::u16string& text) {
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

}  // namespace platform
#endif
