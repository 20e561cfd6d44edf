// Whether what a loader maps lies inside an executable file, on headers made byte by byte: both
// ELF classes and byte orders, fields whose sum would overflow, and PE sections.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ExecutableLayout.h"

namespace {

using platform::ElfCutShortReason;
using platform::PeCutShortReason;

// Writes the field of `width` bytes at `at`, as far as `bytes` reach.
void Put(std::string& bytes, std::size_t at, std::size_t width, std::uint64_t value, bool big) {
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t index = big ? at + width - 1 - i : at + i;
        if (index < bytes.size()) bytes[index] = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

struct Segment {
    std::uint32_t type;
    std::uint64_t offset, size;
};

// An ELF file of `bits` (32 or 64), big-endian or not, its program headers (entries of
// `entrySize` bytes, 0: the class's own) at `tableOffset`, `size` bytes long.
std::string Elf(unsigned bits, bool big, std::uint64_t tableOffset,
                const std::vector<Segment>& segments, std::size_t size, unsigned entrySize = 0) {
    const bool wide = bits == 64;
    const std::size_t ownEntrySize = wide ? 56 : 32;
    std::string bytes(size, '\0');
    bytes.replace(0, 4, "\x7F" "ELF");
    bytes[4] = wide ? 2 : 1;
    bytes[5] = big ? 2 : 1;
    Put(bytes, wide ? 32 : 28, wide ? 8 : 4, tableOffset, big);
    Put(bytes, wide ? 54 : 42, 2, entrySize != 0 ? entrySize : ownEntrySize, big);
    Put(bytes, wide ? 56 : 44, 2, segments.size(), big);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::uint64_t at = tableOffset + i * ownEntrySize;
        if (at >= size) break;
        Put(bytes, at, 4, segments[i].type, big);
        Put(bytes, at + (wide ? 8 : 4), wide ? 8 : 4, segments[i].offset, big);
        Put(bytes, at + (wide ? 32 : 16), wide ? 8 : 4, segments[i].size, big);
    }
    return bytes;
}

std::string Check(const std::string& file) {
    return ElfCutShortReason(file.size(), [&file](std::uint64_t offset, std::size_t size) {
        return offset < file.size() ? file.substr(offset, size) : std::string();
    });
}

std::string CheckPe(const std::string& file) {
    return PeCutShortReason(file.size(), [&file](std::uint64_t offset, std::size_t size) {
        return offset < file.size() ? file.substr(offset, size) : std::string();
    });
}

constexpr std::uint32_t kLoad = 1, kNote = 4;

TEST(ExecutableLayout, EveryLoadedSegmentMustEndInsideTheFileInBothClassesAndOrders) {
    for (const unsigned bits : {32u, 64u}) {
        for (const bool big : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (big ? " big-endian" : " little-endian"));
            // A note past the end is no loaded segment; the second loaded one ends at 0x180.
            const std::vector<Segment> segments = {
                {kLoad, 0, 0x100}, {kNote, 0x1000, 0x10}, {kLoad, 0x100, 0x80}};
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x180)), "");
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x181)), "");
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x17F)),
                      "file cut short: a loaded segment needs 128 bytes from byte 256, the file "
                      "has 383 bytes");
        }
    }
}

TEST(ExecutableLayout, TheHeadersMustLieInsideTheFile) {
    EXPECT_EQ(Check(Elf(64, false, 64, {{kLoad, 0, 10}}, 63)),
              "file cut short: the ELF header needs 64 bytes from byte 0, the file has 63 bytes");
    EXPECT_EQ(Check(Elf(32, true, 52, {{kLoad, 0, 10}}, 51)),
              "file cut short: the ELF header needs 52 bytes from byte 0, the file has 51 bytes");
    // Three headers of 56 bytes from byte 64 end at 232.
    const std::vector<Segment> three = {{kLoad, 0, 10}, {kLoad, 0, 10}, {kLoad, 0, 10}};
    EXPECT_EQ(Check(Elf(64, false, 64, three, 232)), "");
    EXPECT_EQ(Check(Elf(64, false, 64, three, 231)),
              "file cut short: the program headers need 168 bytes from byte 64, the file has "
              "231 bytes");
    EXPECT_EQ(Check(Elf(32, true, 52, three, 147)),
              "file cut short: the program headers need 96 bytes from byte 52, the file has 147 "
              "bytes");
}

TEST(ExecutableLayout, FieldsWhoseSumWouldOverflowAreOutside) {
    const std::uint64_t nearEnd = ~std::uint64_t{0} - 7;  // plus the table's 56 bytes wraps
    EXPECT_EQ(Check(Elf(64, false, nearEnd, {{kLoad, 0, 10}}, 4096)),
              "file cut short: the program headers need 56 bytes from byte "
              "18446744073709551608, the file has 4096 bytes");
    EXPECT_EQ(Check(Elf(64, true, 64, {{kLoad, nearEnd, 0x100}}, 4096)),
              "file cut short: a loaded segment needs 256 bytes from byte 18446744073709551608, "
              "the file has 4096 bytes");
    EXPECT_EQ(Check(Elf(32, false, 52, {{kLoad, 0xFFFFFF00, 0x200}}, 4096)),
              "file cut short: a loaded segment needs 512 bytes from byte 4294967040, the file "
              "has 4096 bytes");
}

TEST(ExecutableLayout, ProgramHeadersOfAnotherSizeAreRefused) {
    EXPECT_EQ(Check(Elf(64, false, 64, {{kLoad, 0, 10}}, 4096, 55)),
              "invalid ELF header: program headers of 55 bytes, not 56");
    EXPECT_EQ(Check(Elf(32, true, 52, {{kLoad, 0, 10}}, 4096, 56)),
              "invalid ELF header: program headers of 56 bytes, not 32");
    EXPECT_EQ(Check(Elf(64, false, 64, {}, 4096, 55)), "");  // none: the loader refuses it
}

TEST(ExecutableLayout, WhatIsNoElfFileIsLeftToTheLoader) {
    EXPECT_EQ(Check(""), "");
    EXPECT_EQ(Check("\x7F" "ELF"), "");
    EXPECT_EQ(Check(std::string("\x7F" "ELF\x03\x01", 6) + std::string(100, '\0')), "");
    EXPECT_EQ(Check(std::string("\x7F" "ELF\x02\x03", 6) + std::string(100, '\0')), "");
    EXPECT_EQ(Check("MZ and then anything at all"), "");
}

// A PE image with its header at 0x80, an optional header of 0xF0 bytes and these sections (raw
// size and offset), `size` bytes long.
std::string Pe(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections,
               std::size_t size) {
    std::string bytes(size, '\0');
    bytes.replace(0, 2, "MZ");
    Put(bytes, 0x3C, 4, 0x80, false);
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    Put(bytes, 0x86, 2, sections.size(), false);
    Put(bytes, 0x94, 2, 0xF0, false);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t at = 0x80 + 24 + 0xF0 + i * 40;  // 0x188 for the first
        Put(bytes, at + 16, 4, sections[i].first, false);
        Put(bytes, at + 20, 4, sections[i].second, false);
    }
    return bytes;
}

TEST(ExecutableLayout, EveryPeSectionsRawDataMustLieInsideTheFile) {
    // Uninitialized data has no raw data, wherever its offset points.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> sections = {
        {0x200, 0x400}, {0, 0xFFFFFFFF}, {0x200, 0x600}};
    EXPECT_EQ(CheckPe(Pe(sections, 0x800)), "");
    EXPECT_EQ(CheckPe(Pe(sections, 0x801)), "");
    EXPECT_EQ(CheckPe(Pe(sections, 0x7FF)),
              "file cut short: a section needs 512 bytes from byte 1536, the file has 2047 bytes");
    // Three section headers of 40 bytes from 0x188 end at 0x200.
    EXPECT_EQ(CheckPe(Pe({{0, 0}, {0, 0}, {0, 0}}, 0x200)), "");
    EXPECT_EQ(CheckPe(Pe({{0, 0}, {0, 0}, {0, 0}}, 0x1FF)),
              "file cut short: the section headers need 120 bytes from byte 392, the file has "
              "511 bytes");
    EXPECT_EQ(CheckPe(Pe({}, 0x80 + 23)),
              "file cut short: the PE header needs 24 bytes from byte 128, the file has 151 bytes");
    EXPECT_EQ(CheckPe(Pe({}, 0x100).substr(0, 0x80 + 3)), "");  // no signature: the loader says why
    EXPECT_EQ(CheckPe(std::string(1000, 'x')), "");
}

}  // namespace
