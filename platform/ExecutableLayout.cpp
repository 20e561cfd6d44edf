#include "platform/ExecutableLayout.h"

#include <string_view>

namespace platform {
namespace {

// The unsigned field of `width` bytes at `at` of `bytes`, which hold it whole.
std::uint64_t Field(std::string_view bytes, std::size_t at, std::size_t width, bool bigEndian) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t index = bigEndian ? at + i : at + width - 1 - i;
        value = value << 8 | static_cast<unsigned char>(bytes[index]);
    }
    return value;
}

// Whether `size` bytes from byte `offset` lie inside a file of `fileSize` bytes, without forming
// a sum that could overflow.
bool Inside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

// `partNeeds`: what needs the bytes, with its verb ("a loaded segment needs").
std::string CutShort(const std::string& partNeeds, std::uint64_t size, std::uint64_t offset,
                     std::uint64_t fileSize) {
    return "file cut short: " + partNeeds + " " + std::to_string(size) + " bytes from byte " +
           std::to_string(offset) + ", the file has " + std::to_string(fileSize) + " bytes";
}

// Where an ELF class keeps the fields the check reads: offsets and widths in bytes.
struct ElfLayout {
    std::size_t headerSize;
    std::size_t tableOffsetAt, tableOffsetWidth;  // e_phoff
    std::size_t entrySizeAt, entryCountAt;        // e_phentsize, e_phnum: 2 bytes each
    std::size_t entrySize;                        // a program header of the class
    std::size_t segmentOffsetAt, segmentSizeAt, segmentFieldWidth;  // p_offset, p_filesz
};

constexpr ElfLayout kElf32 = {52, 28, 4, 42, 44, 32, 4, 16, 4};
constexpr ElfLayout kElf64 = {64, 32, 8, 54, 56, 56, 8, 32, 8};
constexpr std::uint64_t kLoadSegment = 1;  // PT_LOAD

}  // namespace

std::string ElfCutShortReason(std::uint64_t fileSize, const FileBytes& read) {
    constexpr std::size_t kClass = 4, kByteOrder = 5;
    const std::string ident = read(0, kByteOrder + 1);
    if (ident.size() <= kByteOrder || ident.compare(0, 4, "\x7F" "ELF") != 0) return {};
    if ((ident[kClass] != 1 && ident[kClass] != 2) ||
        (ident[kByteOrder] != 1 && ident[kByteOrder] != 2)) {
        return {};
    }
    const ElfLayout& layout = ident[kClass] == 1 ? kElf32 : kElf64;
    const bool bigEndian = ident[kByteOrder] == 2;
    if (fileSize < layout.headerSize) {
        return CutShort("the ELF header needs", layout.headerSize, 0, fileSize);
    }
    const std::string header = read(0, layout.headerSize);
    if (header.size() < layout.headerSize) return "the ELF header cannot be read";
    const std::uint64_t tableOffset =
        Field(header, layout.tableOffsetAt, layout.tableOffsetWidth, bigEndian);
    const std::uint64_t entrySize = Field(header, layout.entrySizeAt, 2, bigEndian);
    const std::uint64_t entryCount = Field(header, layout.entryCountAt, 2, bigEndian);
    if (entryCount == 0) return {};  // nothing to map: the loader refuses it itself
    if (entrySize != layout.entrySize) {
        return "invalid ELF header: program headers of " + std::to_string(entrySize) +
               " bytes, not " + std::to_string(layout.entrySize);
    }
    const std::uint64_t tableSize = entrySize * entryCount;  // at most 65,535 times 56
    if (!Inside(tableOffset, tableSize, fileSize)) {
        return CutShort("the program headers need", tableSize, tableOffset, fileSize);
    }
    const std::string table = read(tableOffset, static_cast<std::size_t>(tableSize));
    if (table.size() < tableSize) return "the program headers cannot be read";
    for (std::size_t at = 0; at < table.size(); at += layout.entrySize) {
        if (Field(table, at, 4, bigEndian) != kLoadSegment) continue;
        const std::uint64_t offset =
            Field(table, at + layout.segmentOffsetAt, layout.segmentFieldWidth, bigEndian);
        const std::uint64_t size =
            Field(table, at + layout.segmentSizeAt, layout.segmentFieldWidth, bigEndian);
        if (!Inside(offset, size, fileSize)) {
            return CutShort("a loaded segment needs", size, offset, fileSize);
        }
    }
    return {};
}

std::string PeCutShortReason(std::uint64_t fileSize, const FileBytes& read) {
    constexpr std::size_t kNewHeaderOffset = 0x3C;
    const std::string dos = read(0, kNewHeaderOffset + 4);
    if (dos.size() < kNewHeaderOffset + 4 || dos.compare(0, 2, "MZ") != 0) return {};
    const std::uint64_t at = Field(dos, kNewHeaderOffset, 4, false);
    if (read(at, 4) != std::string_view("PE\0\0", 4)) return {};
    // The signature, then the COFF file header: the number of sections at 6, the size of the
    // optional header at 20; the section headers follow the optional header.
    constexpr std::size_t kHeaderSize = 24, kSectionHeaderSize = 40;
    if (!Inside(at, kHeaderSize, fileSize)) {
        return CutShort("the PE header needs", kHeaderSize, at, fileSize);
    }
    const std::string header = read(at, kHeaderSize);
    if (header.size() < kHeaderSize) return "the PE header cannot be read";
    const std::uint64_t tableOffset = at + kHeaderSize + Field(header, 20, 2, false);
    const std::uint64_t tableSize = Field(header, 6, 2, false) * kSectionHeaderSize;
    if (!Inside(tableOffset, tableSize, fileSize)) {
        return CutShort("the section headers need", tableSize, tableOffset, fileSize);
    }
    const std::string table = read(tableOffset, static_cast<std::size_t>(tableSize));
    if (table.size() < tableSize) return "the section headers cannot be read";
    for (std::size_t section = 0; section < table.size(); section += kSectionHeaderSize) {
        const std::uint64_t size = Field(table, section + 16, 4, false);    // SizeOfRawData
        const std::uint64_t offset = Field(table, section + 20, 4, false);  // PointerToRawData
        if (size != 0 && !Inside(offset, size, fileSize)) {
            return CutShort("a section needs", size, offset, fileSize);
        }
    }
    return {};
}

}  // namespace platform
