// A path as the platform layer takes it: UTF-16.
#pragma once

#include <filesystem>
#include <string>

#include "platform/Text.h"

namespace platformtest {

inline std::u16string Wide(const std::filesystem::path& path) {
    return platform::Utf8ToUtf16(path.string());
}

}  // namespace platformtest
