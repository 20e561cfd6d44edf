#include "platform/Text.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>

#include "platform/WideChars.h"

namespace platform {
namespace {

// Texts longer than the API's int counts are cut; no text of the program comes near that.
int Count(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

std::string FromUtf16(UINT codePage, DWORD flags, std::u16string_view text, BOOL* usedDefault) {
    if (text.empty()) return {};
    const std::wstring wide = ToWide(text);
    const int size = ::WideCharToMultiByte(codePage, flags, wide.data(), Count(wide.size()), nullptr,
                                           0, nullptr, usedDefault);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), Count(wide.size()), out.data(), size,
                          nullptr, usedDefault);
    return out;
}

std::u16string ToUtf16(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = ::MultiByteToWideChar(codePage, 0, text.data(), Count(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), Count(text.size()), out.data(), size);
    return FromWide(out);
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    return FromUtf16(CP_UTF8, 0, WithoutUnpairedSurrogates(text), nullptr);
}

std::u16string Utf8ToUtf16(std::string_view text) { return ToUtf16(CP_UTF8, text); }

std::optional<std::string> Utf16ToAnsi(std::u16string_view text) {
    // No best-fit stand-ins: a character without its own form in the code page is a failure.
    BOOL usedDefault = FALSE;
    std::string out = FromUtf16(CP_ACP, WC_NO_BEST_FIT_CHARS, text, &usedDefault);
    if (usedDefault || (out.empty() && !text.empty())) return std::nullopt;
    return out;
}

std::u16string AnsiToUtf16(std::string_view text) { return ToUtf16(CP_ACP, text); }

bool IsExactText(std::u16string_view /*text*/) { return true; }

}  // namespace platform
#endif
