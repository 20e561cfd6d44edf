// Where the program looks for the Notes library, and what its one load-failure line says when
// a candidate is no library it can use: never the working directory, never a wait on a FIFO,
// never another file than the one named, and the first file that was there and failed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <link.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/AcmeRun.h"

namespace {

using testsupport::ExporterIsWindows;
using testsupport::ExporterPathText;
using testsupport::ProcessOptions;
using testsupport::WriteFile;

namespace fs = std::filesystem;

const std::string kLoadFailure = "#ERROR# - Unable to load the Notes library ";

// The one line of a run that loaded the partial library `path`, which lacks that function.
void ExpectPartialLibraryLoaded(const std::vector<std::string>& log, const fs::path& path) {
    ASSERT_EQ(log.size(), 1u);
    const std::string line =
        kLoadFailure + path.string() + ": function LogCloseActivityStream not found (";
    EXPECT_EQ(log[0].rfind(line, 0), 0u) << log[0];
}

class LibrarySearchProcess : public testing::Test {
protected:
    const testsupport::AcmeRun acme;
    const testsupport::ScratchDir& scratch = acme.scratch();
    const fs::path& data = acme.environment();
    fs::path work = scratch / "work";
    fs::path marker = scratch / "loaded";

    void SetUp() override { fs::create_directories(work); }

    // The program copied into a folder of its own, with no library beside it: what its run path
    // ($ORIGIN) finds in the build tree is not there to be found.
    fs::path LonelyProgram() {
        const fs::path bin = scratch / "bin";
        fs::create_directories(bin);
        fs::copy_file(testsupport::ExporterPath(), bin / testsupport::ExporterPath().filename());
        return bin / testsupport::ExporterPath().filename();
    }

    // The environment of a run: nothing inherited that names a library, the marker of the
    // partial library, the working directory `work`.
    ProcessOptions Options(const fs::path& program = {}) const {
        ProcessOptions options;
        options.program = program;
        options.workingDirectory = work;
        options.unsetEnvironment = {"Notes_ExecDirectory", "DXL_NOTES_LIBRARY"};
        options.unsetEnvironment.push_back(ExporterIsWindows() ? "WINEPATH" : "LD_LIBRARY_PATH");
        options.environment["DXL_TEST_LOAD_MARKER"] = marker.string();
        options.timeLimitSeconds = 60;
        return options;
    }

    // The library search path of a run: LD_LIBRARY_PATH on Linux; on Windows PATH, which Wine
    // begins with WINEPATH (the system folders of the registry's PATH follow).
    static void SetSearchPath(ProcessOptions& options, const std::string& entries) {
        options.environment[ExporterIsWindows() ? "WINEPATH" : "LD_LIBRARY_PATH"] = entries;
    }

    // Runs -servers -debug, which lists the servers with the library loaded; gives the run log.
    std::vector<std::string> RunServers(const std::string& name, const ProcessOptions& options) {
        const fs::path output = scratch / name;
        fs::create_directories(output);
        const auto result = testsupport::RunExporter(
            {"=" + (data / "notes.ini").string(), "-servers", "-debug", "-o", output.string()},
            options);
        EXPECT_EQ(result.exitCode, 0) << name;
        const std::string servers = testsupport::ReadFile(output / "servers.txt");
        EXPECT_EQ(servers.rfind("Apps01/Srv/Acme\r\nHub01/Acme\r\n", 0), 0u) << name;
        return testsupport::LogLines(output / "log.txt");
    }

    // Runs -nab and gives the run log; a FIFO or a wait would end it with the alarm (142).
    std::vector<std::string> RunNab(const std::string& name, const ProcessOptions& options) {
        const fs::path output = scratch / name;
        fs::create_directories(output);
        const auto result =
            testsupport::RunExporter({"=" + (data / "notes.ini").string(), "-nab", "-o", output.string()},
                        options);
        EXPECT_EQ(result.exitCode, 0) << name;
        EXPECT_FALSE(fs::exists(output / "nab.xml")) << name;
        return fs::exists(output / "log.txt") ? testsupport::LogLines(output / "log.txt")
                                              : std::vector<std::string>{};
    }
};

// The partial library (it leaves the marker when loaded) as libnotes.so in `folder`.
void PlantLibrary(const fs::path& folder) {
    fs::create_directories(folder);
    fs::copy_file(DXL_PARTIAL_NOTES_LIBRARY, folder / "libnotes.so");
}

TEST_F(LibrarySearchProcess, AFifoIsALoadFailureAtOnce) {
    if (ExporterIsWindows()) GTEST_SKIP() << "no FIFOs on Windows";
    const fs::path fifo = scratch / "fifo.so";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ProcessOptions options = Options();
    options.environment["DXL_NOTES_LIBRARY"] = fifo.string();
    EXPECT_EQ(RunNab("named", options),
              std::vector<std::string>{kLoadFailure + fifo.string() + " (" + fifo.string() +
                                       ": not a regular file)"});

    // Found by the search: the same, and no later folder is waited for either.
    const fs::path folder = scratch / "fifos";
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo((folder / "libnotes.so").c_str(), 0600), 0);
    options = Options(LonelyProgram());
    options.environment["LD_LIBRARY_PATH"] = folder.string();
    const std::string path = (folder / "libnotes.so").string();
    EXPECT_EQ(RunNab("searched", options),
              std::vector<std::string>{kLoadFailure + path + " (" + path +
                                       ": not a regular file)"});
}

// An empty entry of LD_LIBRARY_PATH ("DIR:" with an unset variable), a relative one, or a
// relative Notes_ExecDirectory: the libnotes.so in the working directory is never loaded.
TEST_F(LibrarySearchProcess, TheWorkingDirectoryIsNeverSearched) {
    if (ExporterIsWindows()) GTEST_SKIP() << "the search path of Linux";
    if (testsupport::ExporterRunsInTree()) GTEST_SKIP() << "the program in the tree finds the tree's library";
    PlantLibrary(work);
    PlantLibrary(work / "sub");
    const fs::path program = LonelyProgram();
    const fs::path empty = scratch / "empty";
    fs::create_directories(empty);
    const std::string notFound =
        kLoadFailure + "libnotes.so (libnotes.so: not found in an absolute folder of the library "
                       "search path (relative and empty entries are not searched))";
    for (const std::string& path : {empty.string() + ":", std::string(":"), std::string("."),
                                   std::string("sub"), ":" + empty.string()}) {
        SCOPED_TRACE("LD_LIBRARY_PATH=" + path);
        ProcessOptions options = Options(program);
        options.environment["LD_LIBRARY_PATH"] = path;
        EXPECT_EQ(RunNab("path", options), std::vector<std::string>{notFound});
        EXPECT_FALSE(fs::exists(marker));
        fs::remove_all(scratch / "path");
    }
    for (const char* folder : {".", "sub", "./"}) {
        SCOPED_TRACE(std::string("Notes_ExecDirectory=") + folder);
        ProcessOptions options = Options(program);
        options.environment["Notes_ExecDirectory"] = folder;
        const auto log = RunNab("exec", options);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind(kLoadFailure + "libnotes.so (libnotes.so: cannot open", 0), 0u)
            << log[0];
        EXPECT_FALSE(fs::exists(marker));
        fs::remove_all(scratch / "exec");
    }
    // The same folder named absolutely is searched, empty entry or not.
    ProcessOptions options = Options(program);
    options.environment["LD_LIBRARY_PATH"] = (work / "sub").string() + ":";
    ExpectPartialLibraryLoaded(RunNab("absolute", options), work / "sub" / "libnotes.so");
    EXPECT_TRUE(fs::exists(marker));
}

// The look-alike library with the machine type of its header changed to ARM64.
fs::path ForeignLibrary(const fs::path& folder, const std::string& name) {
    std::string bytes = testsupport::ReadFile(testsupport::NotesLibraryBesideExporter());
    if (bytes.rfind("\x7F" "ELF", 0) == 0) {
        bytes[18] = static_cast<char>(183);
        bytes[19] = 0;
    } else {
        const std::size_t pe = static_cast<unsigned char>(bytes[0x3C]) |
                               static_cast<unsigned char>(bytes[0x3D]) << 8;
        bytes[pe + 4] = static_cast<char>(0x64);
        bytes[pe + 5] = static_cast<char>(0xAA);
    }
    fs::create_directories(folder);
    WriteFile(folder / name, bytes);
    return folder / name;
}

TEST_F(LibrarySearchProcess, ALibraryForAnotherMachineSaysSo) {
#if !defined(__x86_64__)
    GTEST_SKIP() << "the expected text names the machine of an x86 program";
#endif
    const char* arch = std::getenv("DXL_TEST_EXPORTER_ARCH");
    const bool x86 = ExporterIsWindows() && arch != nullptr && std::string(arch) == "x86";
    const fs::path foreign =
        ForeignLibrary(scratch / "arm64", testsupport::NotesLibraryBesideExporter().filename());
    ProcessOptions options = Options();
    options.environment["DXL_NOTES_LIBRARY"] = ExporterPathText(foreign);
    const auto log = RunNab("foreign", options);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind(kLoadFailure + ExporterPathText(foreign) + " (", 0), 0u) << log[0];
    const std::string note =
        std::string("; the file is built for ARM64 64-bit, this program for ") +
        (x86 ? "x86 32-bit)" : "x86-64 64-bit)");
    ASSERT_GT(log[0].size(), note.size());
    EXPECT_EQ(log[0].substr(log[0].size() - note.size()), note) << log[0];
}

// A libnotes.so that is there but cannot be loaded is what the line names, not the candidate
// tried after it (Notes_ExecDirectory, where there is none).
TEST_F(LibrarySearchProcess, TheFirstFileThatIsThereAndFailsIsNamed) {
    if (ExporterIsWindows()) GTEST_SKIP() << "the search path of Linux";
    const fs::path broken = scratch / "broken";
    fs::create_directories(broken);
    WriteFile(broken / "libnotes.so", std::string(256, 'x'));
    const fs::path foreign = ForeignLibrary(scratch / "arm64", "libnotes.so");
    PlantLibrary(scratch / "usable");
    const fs::path program = LonelyProgram();

    ProcessOptions options = Options(program);
    options.environment["LD_LIBRARY_PATH"] = broken.string() + ":" + (scratch / "none").string();
    options.environment["Notes_ExecDirectory"] = (scratch / "missing").string();
    const std::string path = (broken / "libnotes.so").string();
    EXPECT_EQ(RunNab("broken", options),
              std::vector<std::string>{kLoadFailure + path + " (" + path +
                                       ": invalid ELF header)"});

    // A later folder's usable file is still loaded; the failure of an earlier one then does
    // not matter.
    options.environment["LD_LIBRARY_PATH"] =
        foreign.parent_path().string() + ":" + (scratch / "usable").string();
    ExpectPartialLibraryLoaded(RunNab("later", options), scratch / "usable" / "libnotes.so");
}

// Where the loader's bytes lie in the library `bytes`: the header that locates the table of
// program headers (ELF, read with the system's own types) or of section headers (PE), the table,
// the first part the loader maps from the file and the one that ends last.
struct LoadedExtent {
    std::string header, table, part;  // how the refusal names them, with their verb
    std::uint64_t headerOffset = 0, headerSize = 0, tableOffset = 0, tableSize = 0;
    std::uint64_t firstOffset = 0, firstSize = 0, lastOffset = 0, lastSize = 0;

    void Add(std::uint64_t offset, std::uint64_t size) {
        if (firstSize == 0) {
            firstOffset = offset;
            firstSize = size;
        }
        if (lastSize == 0 || offset + size > lastOffset + lastSize) {
            lastOffset = offset;
            lastSize = size;
        }
    }
};

LoadedExtent ElfExtent(const std::string& bytes) {
    ElfW(Ehdr) header{};
    std::memcpy(&header, bytes.data(), sizeof header);
    LoadedExtent extent{"the ELF header needs", "the program headers need",
                        "a loaded segment needs", 0, sizeof header, header.e_phoff,
                        std::uint64_t{header.e_phnum} * header.e_phentsize};
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment{};
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD) extent.Add(segment.p_offset, segment.p_filesz);
    }
    return extent;
}

std::uint64_t LittleEndian(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

LoadedExtent PeExtent(const std::string& bytes) {
    const std::uint64_t pe = LittleEndian(bytes, 0x3C, 4);
    const std::uint64_t sections = LittleEndian(bytes, pe + 6, 2);
    LoadedExtent extent{"the PE header needs", "the section headers need", "a section needs",
                        pe, 24, pe + 24 + LittleEndian(bytes, pe + 20, 2), sections * 40};
    for (std::uint64_t i = 0; i < sections; ++i) {
        const std::size_t at = extent.tableOffset + i * 40;
        const std::uint64_t size = LittleEndian(bytes, at + 16, 4);
        if (size != 0) extent.Add(LittleEndian(bytes, at + 20, 4), size);
    }
    return extent;
}

// A library file cut short would be mapped past its end on Linux, and the first access to those
// pages would kill the run: it is refused with the one line instead, at each limit, on Windows
// too. What lies after the last part loaded (section headers, symbols) is not needed.
TEST_F(LibrarySearchProcess, ALibraryCutShortIsALoadFailure) {
    const std::string whole = testsupport::ReadFile(testsupport::NotesLibraryBesideExporter());
    const LoadedExtent extent = ExporterIsWindows() ? PeExtent(whole) : ElfExtent(whole);
    const std::uint64_t headerEnd = extent.headerOffset + extent.headerSize;
    const std::uint64_t tableEnd = extent.tableOffset + extent.tableSize;
    const std::uint64_t lastEnd = extent.lastOffset + extent.lastSize;
    ASSERT_LT(tableEnd, extent.firstOffset + extent.firstSize);
    const fs::path cut = scratch / "cut" / testsupport::NotesLibraryBesideExporter().filename();
    const std::string named = ExporterPathText(cut);
    const auto cutShort = [&named](std::uint64_t size, const std::string& partNeeds,
                                   std::uint64_t partSize, std::uint64_t offset) {
        return kLoadFailure + named + " (" + named + ": file cut short: " + partNeeds + " " +
               std::to_string(partSize) + " bytes from byte " + std::to_string(offset) +
               ", the file has " + std::to_string(size) + " bytes)";
    };
    const std::vector<std::pair<std::uint64_t, std::string>> refused = {
        {headerEnd - 1,
         cutShort(headerEnd - 1, extent.header, extent.headerSize, extent.headerOffset)},
        {tableEnd - 1, cutShort(tableEnd - 1, extent.table, extent.tableSize, extent.tableOffset)},
        {tableEnd, cutShort(tableEnd, extent.part, extent.firstSize, extent.firstOffset)},
        {lastEnd - 1, cutShort(lastEnd - 1, extent.part, extent.lastSize, extent.lastOffset)},
    };
    ProcessOptions options = Options();
    options.environment["DXL_NOTES_LIBRARY"] = named;
    for (const auto& [size, line] : refused) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        WriteFile(cut, whole.substr(0, size));
        EXPECT_EQ(RunNab("cut" + std::to_string(size), options), std::vector<std::string>{line});
    }

    // Found by the search, the file is refused the same way; no later folder holds another.
    WriteFile(cut, whole.substr(0, tableEnd));
    ProcessOptions searched = Options(LonelyProgram());
    SetSearchPath(searched, ExporterPathText(cut.parent_path()));
    EXPECT_EQ(RunNab("searched", searched), std::vector<std::string>{refused[2].second});

    const std::vector<std::string> loaded = {
        "#DEBUG# - Notes library: " + ExporterPathText(fs::canonical(cut.parent_path()) /
                                                       cut.filename()),
        "#DEBUG# - Notes library call NAMEGetTextItem2 returned 310"};
    for (const std::uint64_t size : {lastEnd, lastEnd + 1, std::uint64_t{whole.size()}}) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        WriteFile(cut, whole.substr(0, size));
        EXPECT_EQ(RunServers("loaded" + std::to_string(size), options), loaded);
    }
}

// The system's own search on Windows tries the working directory before PATH: the genuine
// library in an absolute folder on PATH is loaded instead of the copies planted in the working
// directory and below it, and a relative or empty entry of PATH leads to none of them.
TEST_F(LibrarySearchProcess, TheWorkingDirectoryIsNeverSearchedOnWindows) {
    if (!ExporterIsWindows()) GTEST_SKIP() << "the DLL search of Windows";
    const fs::path notes = scratch / "notes";
    for (const fs::path& folder : {notes, work, work / "sub"}) {
        fs::create_directories(folder);
        fs::copy_file(testsupport::NotesLibraryBesideExporter(), folder / "nnotes.dll");
    }
    const fs::path program = LonelyProgram();
    const std::string genuine = ExporterPathText(fs::canonical(notes));
    const std::vector<std::string> loaded = {
        "#DEBUG# - Notes library: " + genuine + "\\nnotes.dll",
        "#DEBUG# - Notes library call NAMEGetTextItem2 returned 310"};
    int run = 0;
    for (const std::string& path : {genuine, "sub;.;;" + genuine, genuine + "\\"}) {
        SCOPED_TRACE("PATH=" + path);
        ProcessOptions options = Options(program);
        SetSearchPath(options, path);
        EXPECT_EQ(RunServers("found" + std::to_string(++run), options), loaded);
    }
    // A folder named from the root of the working directory's drive depends on that drive.
    const std::string rooted = ExporterPathText(fs::canonical(work)).substr(2);
    const std::string notFound =
        kLoadFailure + "nnotes.dll (nnotes.dll: not found in the program's folder, the system "
                       "folders or an absolute folder on PATH)";
    for (const std::string& path : {std::string("."), std::string("sub"), std::string(";"),
                                    std::string(".\\"), rooted}) {
        SCOPED_TRACE("PATH=" + path);
        ProcessOptions options = Options(program);
        SetSearchPath(options, path);
        EXPECT_EQ(RunNab("unfound" + std::to_string(++run), options),
                  std::vector<std::string>{notFound});
    }
}

// A library name that is not UTF-8 is no name: the library whose name holds U+FFFD in its place
// is not loaded.
TEST_F(LibrarySearchProcess, ALibraryNameThatIsNotUtf8IsALoadFailure) {
    if (ExporterIsWindows()) GTEST_SKIP() << "Windows environment values are UTF-16 already";
    if (testsupport::ExporterRunsInTree()) GTEST_SKIP() << "the program in the tree finds the tree's library";
    PlantLibrary(scratch / "lib\xEF\xBF\xBD");
    const std::string shown = (scratch / "lib\xEF\xBF\xBD" / "libnotes.so").string();
    ProcessOptions options = Options();
    options.environment["DXL_NOTES_LIBRARY"] = (scratch / "lib\xFF" / "libnotes.so").string();
    EXPECT_EQ(RunNab("named", options),
              std::vector<std::string>{kLoadFailure + shown + " (the name is not valid UTF-8)"});
    EXPECT_FALSE(fs::exists(marker));

    options = Options(LonelyProgram());
    options.environment["Notes_ExecDirectory"] = (scratch / "lib\xFF").string();
    EXPECT_EQ(RunNab("folder", options),
              std::vector<std::string>{kLoadFailure + shown + " (the name is not valid UTF-8)"});
    EXPECT_FALSE(fs::exists(marker));
}

}  // namespace
