// Reading what installed programs register with Windows.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The default text value of HKEY_CLASSES_ROOT\`key`; nothing when it is missing, not text, or
// the platform has no registry.
std::optional<std::u16string> ReadClassesRootText(const std::u16string& key);

}  // namespace platform
