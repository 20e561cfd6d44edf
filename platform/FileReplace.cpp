#include "platform/FileReplace.h"

#ifndef _WIN32
#include <cstdio>

#include "platform/Text.h"

namespace platform {

bool ReplaceFile(const std::u16string& from, const std::u16string& to) {
    return std::rename(Utf16ToUtf8(from).c_str(), Utf16ToUtf8(to).c_str()) == 0;
}

}  // namespace platform
#endif
