#include "platform/Registry.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "platform/WideChars.h"

namespace platform {

std::optional<std::u16string> ReadClassesRootText(const std::u16string& key) {
    const std::wstring subKey = ToWide(key);
    DWORD bytes = 0;
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr,
                       flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr,
                       flags, nullptr, text.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return FromWide(text.data());
}

}  // namespace platform
#else

namespace platform {

std::optional<std::u16string> ReadClassesRootText(const std::u16string&) {
    return std::nullopt;
}

}  // namespace platform
#endif
