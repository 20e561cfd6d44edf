#include "platform/FileReplace.h"

#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile  // windows.h names ReplaceFileW so; this file defines platform::ReplaceFile

#include "platform/WideChars.h"

namespace platform {

bool ReplaceFile(const std::u16string& from, const std::u16string& to) {
    // Within one folder (one volume) this is a rename that replaces the target in one step.
    return ::MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace platform
#endif
