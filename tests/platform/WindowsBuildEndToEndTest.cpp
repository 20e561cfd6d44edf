// What only the Windows build of the program has: run under Wine when DXL_TEST_EXPORTER names it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

using testsupport::ExporterIsWindows;
using testsupport::ExporterPath;
using testsupport::ReadFile;

std::string CommandOutput(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
        ::pclose(pipe);
    }
    return output;
}

std::uint32_t Read32(const std::string& image, std::size_t offset) {
    if (offset + 4 > image.size()) return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(image[offset + i]);
    return value;
}

std::uint16_t Read16(const std::string& image, std::size_t offset) {
    if (offset + 2 > image.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(image[offset]) |
                                      static_cast<std::uint8_t>(image[offset + 1]) << 8);
}

// The names of the DLLs a PE32 or PE32+ image imports from, upper-cased.
std::set<std::string> ImportedLibraries(const std::string& image) {
    const std::size_t header = Read32(image, 0x3C);
    const std::size_t optional = header + 24;
    const std::size_t dataDirectories = optional + (Read16(image, optional) == 0x20B ? 112 : 96);
    const std::size_t sections = optional + Read16(image, header + 20);
    const std::uint16_t sectionCount = Read16(image, header + 6);
    auto fileOffset = [&](std::uint32_t rva) -> std::size_t {
        for (std::uint16_t i = 0; i < sectionCount; ++i) {
            const std::size_t section = sections + 40u * i;
            const std::uint32_t start = Read32(image, section + 12);
            const std::uint32_t size = Read32(image, section + 8);
            if (rva >= start && rva < start + size) return Read32(image, section + 20) + (rva - start);
        }
        return image.size();
    };
    std::set<std::string> names;
    const std::uint32_t importRva = Read32(image, dataDirectories + 8);  // data directory 1
    for (std::size_t entry = fileOffset(importRva); entry + 20 <= image.size(); entry += 20) {
        const std::uint32_t nameRva = Read32(image, entry + 12);
        if (nameRva == 0) break;
        std::string name;
        for (std::size_t at = fileOffset(nameRva); at < image.size() && image[at] != '\0'; ++at) {
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(image[at])));
        }
        names.insert(name);
    }
    return names;
}

std::string Utf16Le(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += {c, '\0'};
    return out;
}

class WindowsBuildEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!ExporterIsWindows()) GTEST_SKIP() << "the program under test is not the Windows build";
    }
};

// The program built for the architecture the test run names (DXL_TEST_EXPORTER_ARCH, x64 when
// unset): PE32+ for x86-64 or PE32 for Intel 80386, the GUI subsystem either way.
TEST_F(WindowsBuildEndToEnd, IsAGuiProgramForItsArchitectureNeedingOnlySystemLibraries) {
    const char* arch = std::getenv("DXL_TEST_EXPORTER_ARCH");
    const bool x86 = arch != nullptr && std::string(arch) == "x86";
    const std::string description = CommandOutput("file -b '" + ExporterPath().string() + "'");
    if (!description.empty()) {
        const char* expected = x86 ? "PE32 executable (GUI) Intel 80386" : "PE32+ executable (GUI) x86-64";
        EXPECT_EQ(description.rfind(expected, 0), 0u) << description;
    }
    const std::string image = ReadFile(ExporterPath());
    ASSERT_EQ(image.substr(0, 2), "MZ");
    const std::size_t header = Read32(image, 0x3C);
    ASSERT_EQ(image.substr(header, 4), std::string("PE\0\0", 4));
    EXPECT_EQ(Read16(image, header + 4), x86 ? 0x14C : 0x8664);   // machine
    EXPECT_EQ(Read16(image, header + 24), x86 ? 0x10B : 0x20B);   // PE32 or PE32+
    EXPECT_EQ(Read16(image, header + 24 + 68), 2);                // Windows GUI subsystem

    const std::set<std::string> system = {"ADVAPI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "SHELL32.DLL",
                                          "USER32.DLL", "VERSION.DLL"};
    const std::set<std::string> imported = ImportedLibraries(image);
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported) EXPECT_TRUE(system.contains(name)) << name;
}

TEST_F(WindowsBuildEndToEnd, VersionResourceHoldsTheProductVersion) {
    const std::string image = ReadFile(ExporterPath());
    ASSERT_NE(image.find(Utf16Le("040904B0")), std::string::npos);
    // A String entry of the resource: {length, value length in characters, type 1 (text)}, its
    // key, padding to 32 bits, its value, each terminated. The same key also stands in the
    // program's own text, as the name it asks the resource for, without that header.
    const std::string key = Utf16Le("ProductVersion") + std::string(2, '\0');
    std::string value;
    for (std::size_t at = image.find(key); at != std::string::npos && value.empty();
         at = image.find(key, at + 1)) {
        if (at < 6 || Read16(image, at - 2) != 1 || Read16(image, at - 4) == 0) continue;
        std::size_t start = at + key.size();
        while (start < image.size() && start % 4 != 0 && image[start] == '\0') ++start;
        const std::size_t characters = Read16(image, at - 4) - 1u;
        value = image.substr(start, characters * 2);
    }
    EXPECT_EQ(value, Utf16Le(DXL_PRODUCT_VERSION));
}

}  // namespace
