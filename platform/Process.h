// What the platform tells the program about its process: arguments, environment, version.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The process's arguments as UTF-16 texts, the program path first.
std::vector<std::u16string> WideArguments(int argc, char** argv);

// Nothing when the variable does not exist; an existing empty variable gives an empty text. A
// value that is not UTF-8 comes back as WideArguments gives such an argument: IsExactText
// tells it.
std::optional<std::u16string> ReadEnvironmentVariable(const std::u16string& name);

// Sets the variable for this process and the programs and libraries it starts or loads.
bool WriteEnvironmentVariable(const std::u16string& name, const std::u16string& value);

// The product version text of the program's own version resource, if it has one.
std::optional<std::u16string> ReadProductVersion();

// A message box with a single OK button and no owner (on POSIX: the text on standard output).
void ShowMessageBox(const std::u16string& caption, const std::u16string& text);

}  // namespace platform
