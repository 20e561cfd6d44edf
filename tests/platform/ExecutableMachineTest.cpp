// The machine type read from an executable's header, on headers made byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "platform/ExecutableMachine.h"

namespace {

using platform::ForeignMachineNote;

// An ELF header of `bits` (1: 32, 2: 64), byte order `order` (1 little, 2 big), machine `type`.
std::string Elf(char bits, char order, unsigned type) {
    std::string head = std::string("\x7F" "ELF", 4) + bits + order + std::string(12, '\0');
    const char low = static_cast<char>(type & 0xFF);
    const char high = static_cast<char>(type >> 8);
    head += order == 2 ? std::string{high, low} : std::string{low, high};
    return head + std::string(44, '\0');
}

// A PE image whose header stands at `at` with the machine `type`.
std::string Pe(std::size_t at, unsigned type) {
    std::string head(at + 24, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    head[0x3C] = static_cast<char>(at & 0xFF);
    head[0x3D] = static_cast<char>(at >> 8);
    head.replace(at, 4, std::string("PE\0\0", 4));
    head[at + 4] = static_cast<char>(type & 0xFF);
    head[at + 5] = static_cast<char>(type >> 8);
    return head;
}

#if defined(__x86_64__) && !defined(__ILP32__) && !defined(_WIN32)
TEST(ExecutableMachine, AnElfLibraryOfAnotherMachineOrWidthIsNamed) {
    EXPECT_EQ(ForeignMachineNote(Elf(2, 1, 62)), "");
    EXPECT_EQ(ForeignMachineNote(Elf(1, 1, 3)),
              "the file is built for x86 32-bit, this program for x86-64 64-bit");
    EXPECT_EQ(ForeignMachineNote(Elf(1, 1, 62)),
              "the file is built for x86-64 32-bit, this program for x86-64 64-bit");
    EXPECT_EQ(ForeignMachineNote(Elf(2, 2, 21)),
              "the file is built for PowerPC64 64-bit, this program for x86-64 64-bit");
    EXPECT_EQ(ForeignMachineNote(Elf(2, 1, 0x1234)),
              "the file is built for machine type 4660 64-bit, this program for x86-64 64-bit");
    EXPECT_EQ(ForeignMachineNote(Pe(0x80, 0x8664)),
              "the file is a Windows library for x86-64 64-bit");
}

TEST(ExecutableMachine, WhatIsNoHeaderGivesNoNote) {
    EXPECT_EQ(ForeignMachineNote(""), "");
    EXPECT_EQ(ForeignMachineNote("no library at all, and long enough to hold a header"), "");
    EXPECT_EQ(ForeignMachineNote(Elf(1, 1, 3).substr(0, 19)), "");  // the machine cut in two
    EXPECT_EQ(ForeignMachineNote(Elf(3, 1, 3)), "");                // no such class
    // The PE signature must lie wholly inside what was read.
    EXPECT_EQ(ForeignMachineNote(Pe(0x80, 0x14C).substr(0, 0x80 + 6)),
              "the file is a Windows library for x86 32-bit");
    EXPECT_EQ(ForeignMachineNote(Pe(0x80, 0x14C).substr(0, 0x80 + 5)), "");
    EXPECT_EQ(ForeignMachineNote(Pe(0xFFFF, 0x14C).substr(0, 0x100)), "");
}
#endif

}  // namespace
