// The machine type an executable file (a library above all) is built for, read from its ELF or
// PE header: what a load failure of a file for another machine should say.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// How many bytes of a file's beginning ForeignMachineNote needs at most.
constexpr std::size_t kExecutableHeadBytes = 4096;

// For a file beginning with `head` that is built for another machine type than this program:
// "the file is built for <machine>, this program for <machine>". Empty when the file is for this
// program's machine, or when its header or this program's machine is not known.
std::string ForeignMachineNote(std::string_view head);

}  // namespace platform
