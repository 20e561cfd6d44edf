// Whether what a loader maps lies inside an executable file, on headers made byte by byte: the
// classes and byte orders the shipped library does not show, sums that would overflow, PE files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ExecutableLayout.h"

namespace {

// Writes the field of `width` bytes at `at`, as far as `bytes` reach.
void Put(std::string& bytes, std::size_t at, std::size_t width, std::uint64_t value, bool big) {
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t index = big ? at + width - 1 - i : at + i;
        if (index < bytes.size()) bytes[index] = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

struct Segment {
    std::uint32_t type;  // 1: loaded
    std::uint64_t offset, size;
};

// An ELF file of `bits` (32 or 64) and `size` bytes, its program headers (of `entrySize` bytes
// each, 0: the class's own) at `tableOffset`.
std::string Elf(unsigned bits, bool big, std::uint64_t tableOffset,
                const std::vector<Segment>& segments, std::size_t size, unsigned entrySize = 0) {
    const bool wide = bits == 64;
    const std::size_t ownSize = wide ? 56 : 32;
    std::string bytes(size, '\0');
    bytes.replace(0, 6, std::string("\x7F" "ELF") + (wide ? '\2' : '\1') + (big ? '\2' : '\1'));
    Put(bytes, wide ? 32 : 28, wide ? 8 : 4, tableOffset, big);
    Put(bytes, wide ? 54 : 42, 2, entrySize != 0 ? entrySize : ownSize, big);
    Put(bytes, wide ? 56 : 44, 2, segments.size(), big);
    for (std::size_t i = 0; i < segments.size() && tableOffset < size; ++i) {
        const std::size_t at = tableOffset + i * ownSize;
        Put(bytes, at, 4, segments[i].type, big);
        Put(bytes, at + (wide ? 8 : 4), wide ? 8 : 4, segments[i].offset, big);
        Put(bytes, at + (wide ? 32 : 16), wide ? 8 : 4, segments[i].size, big);
    }
    return bytes;
}

platform::FileBytes Reader(const std::string& file) {
    return [&file](std::uint64_t offset, std::size_t size) {
        return offset < file.size() ? file.substr(offset, size) : std::string();
    };
}

std::string Check(const std::string& file) {
    return platform::ElfCutShortReason(file.size(), Reader(file));
}

TEST(ExecutableLayout, EveryLoadedSegmentMustEndInsideTheFileInBothClassesAndOrders) {
    for (const unsigned bits : {32u, 64u}) {
        for (const bool big : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (big ? " big-endian" : " little-endian"));
            // A note (4) past the end is no loaded segment; the second loaded one ends at 0x180.
            const std::vector<Segment> segments = {
                {1, 0, 0x100}, {4, 0x1000, 0x10}, {1, 0x100, 0x80}};
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x180)), "");
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x181)), "");
            EXPECT_EQ(Check(Elf(bits, big, 64, segments, 0x17F)),
                      "file cut short: a loaded segment needs 128 bytes from byte 256, the file "
                      "has 383 bytes");
        }
    }
}

TEST(ExecutableLayout, The32BitHeadersMustLieInsideTheFile) {
    const std::vector<Segment> three = {{1, 0, 10}, {1, 0, 10}, {1, 0, 10}};  // 52 + 3 * 32
    EXPECT_EQ(Check(Elf(32, true, 52, three, 148)), "");
    EXPECT_EQ(Check(Elf(32, true, 52, three, 147)),
              "file cut short: the program headers need 96 bytes from byte 52, the file has 147 "
              "bytes");
    EXPECT_EQ(Check(Elf(32, true, 52, three, 51)),
              "file cut short: the ELF header needs 52 bytes from byte 0, the file has 51 bytes");
}

TEST(ExecutableLayout, FieldsWhoseSumWouldOverflowAreOutside) {
    const std::uint64_t nearEnd = ~std::uint64_t{0} - 7;
    EXPECT_EQ(Check(Elf(64, false, nearEnd, {{1, 0, 10}}, 4096)),
              "file cut short: the program headers need 56 bytes from byte "
              "18446744073709551608, the file has 4096 bytes");
    EXPECT_EQ(Check(Elf(64, true, 64, {{1, nearEnd, 0x100}}, 4096)),
              "file cut short: a loaded segment needs 256 bytes from byte 18446744073709551608, "
              "the file has 4096 bytes");
}

TEST(ExecutableLayout, ProgramHeadersOfAnotherSizeAreRefusedAndWhatIsNoElfIsLeftAlone) {
    EXPECT_EQ(Check(Elf(64, false, 64, {{1, 0, 10}}, 4096, 55)),
              "invalid ELF header: program headers of 55 bytes, not 56");
    EXPECT_EQ(Check(Elf(32, true, 52, {{1, 0, 10}}, 4096, 56)),
              "invalid ELF header: program headers of 56 bytes, not 32");
    EXPECT_EQ(Check(Elf(64, false, 64, {}, 4096, 55)), "");  // no segment: the loader refuses it
    EXPECT_EQ(Check(std::string("\x7F" "ELF\x03\x01", 6) + std::string(100, '\0')), "");
    EXPECT_EQ(Check("MZ and then anything at all"), "");
}

// A PE image: its header at 0x80, an optional header of 0xF0 bytes, then section headers from
// 0x188 with these sections (raw size, offset).
std::string Pe(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections,
               std::size_t size) {
    std::string bytes(std::max<std::size_t>(size, 0x84), '\0');
    bytes.replace(0, 2, "MZ");
    Put(bytes, 0x3C, 4, 0x80, false);
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    Put(bytes, 0x86, 2, sections.size(), false);
    Put(bytes, 0x94, 2, 0xF0, false);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        Put(bytes, 0x188 + i * 40 + 16, 4, sections[i].first, false);
        Put(bytes, 0x188 + i * 40 + 20, 4, sections[i].second, false);
    }
    return bytes.substr(0, size);
}

TEST(ExecutableLayout, EveryPeSectionsRawDataMustLieInsideTheFile) {
    const auto check = [](const std::string& file) {
        return platform::PeCutShortReason(file.size(), Reader(file));
    };
    // Uninitialized data has no raw data, wherever its offset points.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> sections = {
        {0x200, 0x400}, {0, 0xFFFFFFFF}, {0x200, 0x600}};
    EXPECT_EQ(check(Pe(sections, 0x800)), "");
    EXPECT_EQ(check(Pe(sections, 0x7FF)),
              "file cut short: a section needs 512 bytes from byte 1536, the file has 2047 bytes");
    EXPECT_EQ(check(Pe(sections, 0x1FF)),
              "file cut short: the section headers need 120 bytes from byte 392, the file has "
              "511 bytes");
    EXPECT_EQ(check(Pe({}, 0x80 + 23)),
              "file cut short: the PE header needs 24 bytes from byte 128, the file has 151 bytes");
    EXPECT_EQ(check(Pe({}, 0x80 + 3)), "");  // no PE signature: the loader says why
}

}  // namespace
