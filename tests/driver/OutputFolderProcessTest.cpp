// Output folders that cannot be trusted: links and FIFOs under the names of output files, and a
// folder the run log cannot be written to.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "tests/support/AcmeRun.h"

namespace {

using testsupport::ExporterRunsInTree;
using testsupport::ReadFile;
using testsupport::ScratchDir;

const std::string kOutsideText = "a file outside the output folder\n";

struct ModeCase {
    std::string fileName;  // the output file the mode creates first
    std::vector<std::string> arguments;
    std::string errorLine;  // what the mode logs when it cannot create that file
};

const std::vector<ModeCase> kModeCases = {
    {"logscan.txt", {"-logscan"}, "#ERROR# - Unable to create output file"},
    {"servers.txt", {"-servers"}, "#ERROR# - Unable to open output file"},
};

class OutputFolderProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::ExporterIsWindows()) {
            GTEST_SKIP() << "links, FIFOs and mounts of the POSIX file system, which Wine shows "
                            "the Windows build as something else";
        }
        options.workingDirectory = work.path();
        options.unsetEnvironment = {"KORVA_NOTES_PASSWORD"};
        options.timeLimitSeconds = 20;  // a run that waits on a FIFO ends with exit code 142
        testsupport::WriteFile(outside, kOutsideText);
        FreshOutput();
    }

    void FreshOutput() {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
    }
    testsupport::ProcessResult Run(const std::vector<std::string>& arguments) {
        return acme.Run(arguments, options);
    }
    std::vector<std::string> Log() const { return acme.Log(); }

    const testsupport::AcmeRun acme;
    const std::filesystem::path& out = acme.output();
    ScratchDir work;
    ScratchDir elsewhere;
    std::filesystem::path outside = elsewhere / "outside.txt";
    testsupport::ProcessOptions options;
};

TEST_F(OutputFolderProcess, ALinkNamedLikeAnOutputFileIsNeverWrittenThrough) {
    for (const ModeCase& mode : kModeCases) {
        FreshOutput();
        std::filesystem::create_symlink(outside, out / mode.fileName);
        EXPECT_EQ(Run(mode.arguments).exitCode, 0) << mode.fileName;
        EXPECT_EQ(Log(), std::vector<std::string>{mode.errorLine}) << mode.fileName;
        EXPECT_EQ(ReadFile(outside), kOutsideText) << mode.fileName;
        EXPECT_FALSE(std::filesystem::exists(out / "nab.xml"));
    }
}

// Staging files are made anew: a link under the name is removed, not followed.
TEST_F(OutputFolderProcess, ALinkNamedLikeTheNabStagingFileIsRemovedNotFollowed) {
    std::filesystem::create_symlink(outside, out / "nab.xml.tmp");
    EXPECT_EQ(Run({"-nab"}).exitCode, 0);
    EXPECT_EQ(Log(), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(outside), kOutsideText);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(out / "nab.xml")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(out / "nab.xml.tmp")));
}

// The DXL files are never opened by name for writing: a link under the final name stays, the
// export fails; a link under the temporary name is removed, not followed.
TEST_F(OutputFolderProcess, LinksNamedLikeTheDxlFilesAreNeitherFollowedNorPublished) {
    std::filesystem::create_symlink(outside, out / "temp.tmp");
    EXPECT_EQ(Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    EXPECT_EQ(Log(), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(out / "catalog.dxl")));

    FreshOutput();
    std::filesystem::create_symlink(outside, out / "catalog.dxl");
    EXPECT_EQ(Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    EXPECT_EQ(Log().back(), "#ERROR# - Unable to read catalog (File cannot be created)");
    EXPECT_TRUE(std::filesystem::is_symlink(out / "catalog.dxl"));
    EXPECT_EQ(ReadFile(outside), kOutsideText);
}

TEST_F(OutputFolderProcess, AFifoNamedLikeAnOutputFileDoesNotHoldTheRunUp) {
    for (const ModeCase& mode : kModeCases) {
        FreshOutput();
        ASSERT_EQ(::mkfifo((out / mode.fileName).c_str(), 0666), 0);
        EXPECT_EQ(Run(mode.arguments).exitCode, 0) << mode.fileName;
        EXPECT_EQ(Log(), std::vector<std::string>{mode.errorLine}) << mode.fileName;
    }
}

// The run log is the only report of a failure: a folder it cannot go to is unusable.
TEST_F(OutputFolderProcess, ARunLogThatIsALinkOrAFifoMakesTheFolderUnusable) {
    std::filesystem::create_symlink(outside, out / "log.txt");
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 1);
    EXPECT_EQ(ReadFile(outside), kOutsideText);
    EXPECT_FALSE(std::filesystem::exists(out / "logscan.txt"));

    FreshOutput();
    ASSERT_EQ(::mkfifo((out / "log.txt").c_str(), 0666), 0);
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out / "logscan.txt"));
}

// The folder mounted read-only over itself: even root cannot write there.
class ReadOnlyBindMount {
public:
    explicit ReadOnlyBindMount(const std::filesystem::path& folder) : folder_(folder) {
        mounted_ = ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
        if (mounted_) {
            readOnly_ = ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                                nullptr) == 0;
        }
    }
    ~ReadOnlyBindMount() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool ReadOnly() const { return readOnly_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    bool readOnly_ = false;
};

TEST_F(OutputFolderProcess, AReadOnlyFolderIsUnusableLikeAMissingOne) {
    const ReadOnlyBindMount mount(out);
    if (!mount.ReadOnly()) {
        GTEST_SKIP() << "a read-only bind mount needs CAP_SYS_ADMIN (root, or a mount namespace)";
    }
    for (const ModeCase& mode : kModeCases) {
        EXPECT_EQ(Run(mode.arguments).exitCode, 1) << mode.fileName;
    }
    EXPECT_EQ(Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 1);
    EXPECT_TRUE(std::filesystem::is_empty(out));
}

// A small tmpfs mounted on the folder: a disk that can be filled.
class SmallDisk {
public:
    explicit SmallDisk(const std::filesystem::path& folder) : folder_(folder) {
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    // Fills the disk with the file `name`.
    void Fill(const std::string& name) const {
        std::ofstream filler(folder_ / name, std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

TEST_F(OutputFolderProcess, OnAFullDiskTheLostRunLogLineEndsTheRunWithExitCode1) {
    const SmallDisk disk(out);
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs CAP_SYS_ADMIN";
    disk.Fill("filler");
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 1);
    EXPECT_EQ(ReadFile(out / "log.txt"), "");
    // With room again the next line starts a line of its own.
    std::filesystem::remove(out / "filler");
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 0);
    EXPECT_EQ(Log(), std::vector<std::string>{"#ERROR# - Invalid start date: bad"});
}

// True when every folder from the root down to `folder` lets anyone pass.
bool EveryoneReaches(const std::filesystem::path& folder) {
    for (std::filesystem::path at = folder; !at.empty(); at = at.parent_path()) {
        struct stat info {};
        if (::stat(at.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) return false;
        if (at == at.root_path()) break;
    }
    return true;
}

// The folder lock needs to read the folder: one that can only be written (mode 333) is refused
// before any mode starts, with the reason.
TEST_F(OutputFolderProcess, AWriteOnlyFolderIsRefusedWithTheReason) {
    if (ExporterRunsInTree()) GTEST_SKIP() << "another user cannot enter the tree";
    // Root reads every folder: the run is made as another user then, with a copy of the program
    // and its library where that user can reach them (the build may lie in a private folder,
    // such as a checkout under /root).
    const ScratchDir bin;
    if (::geteuid() == 0) {
        if (!EveryoneReaches(bin.path())) {
            GTEST_SKIP() << "no folder for another user: " << bin.path() << " is private";
        }
        for (const std::filesystem::path& file :
             {testsupport::ExporterPath(), testsupport::NotesLibraryBesideExporter()}) {
            std::filesystem::copy_file(file, bin / file.filename());
        }
        options.program = bin / testsupport::ExporterPath().filename();
        options.userId = 65534;
    }
    std::filesystem::permissions(out, std::filesystem::perms::owner_write |
                                          std::filesystem::perms::owner_exec |
                                          std::filesystem::perms::group_write |
                                          std::filesystem::perms::group_exec |
                                          std::filesystem::perms::others_write |
                                          std::filesystem::perms::others_exec);
    const std::vector<std::vector<std::string>> modes = {
        {"-logscan"}, {"-servers"}, {"-nab"}, {"-catalog", "-s", "Hub01/Acme"}};
    for (const auto& mode : modes) {
        EXPECT_EQ(Run(mode).exitCode, 1) << mode[0];
    }
    EXPECT_EQ(Run({}).exitCode, 0) << "no mode, no lock needed";
    std::filesystem::permissions(out, std::filesystem::perms::owner_all);
    EXPECT_EQ(Log(), std::vector<std::string>(
                         4, "#ERROR# - Unable to lock output directory (it cannot be read)"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1) << "log.txt only";
}

// The run log is the run's only report: a line is written whole or not at all, and a run that
// lost one ends with exit code 1, as when the folder is unusable.
TEST_F(OutputFolderProcess, ARunLogLineThatCannotBeWrittenEndsTheRunWithExitCode1) {
    const std::string earlier = "#ERROR# - a line of an earlier run\r\n";
    const std::vector<std::map<std::string, std::string>> faults = {
        {{"CALL", "write"}, {"PATH", "log.txt"}, {"ERRNO", "ENOSPC"}},
        {{"CALL", "open"}, {"PATH", "log.txt"}, {"ERRNO", "24"}},  // EMFILE: no descriptor left
    };
    for (const auto& fault : faults) {
        FreshOutput();
        testsupport::WriteFile(out / "log.txt", earlier);
        options.environment = testsupport::FaultInjection(fault);
        EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 1) << fault.at("CALL");
        EXPECT_EQ(ReadFile(out / "log.txt"), earlier) << fault.at("CALL");
    }
    options.environment.clear();

    // A file-size limit that lets all but the last byte of the line through: they are cut away
    // again. (The line "#ERROR# - Invalid start date: bad" and CR LF take 35 bytes.)
    FreshOutput();
    testsupport::WriteFile(out / "log.txt", earlier);
    options.fileSizeLimit = static_cast<long>(earlier.size()) + 34;
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 1);
    EXPECT_EQ(ReadFile(out / "log.txt"), earlier);
    // Room for the whole line, and not a byte more: exit code 0.
    options.fileSizeLimit = static_cast<long>(earlier.size()) + 35;
    EXPECT_EQ(Run({"-logscan", "-start", "bad"}).exitCode, 0);
    EXPECT_EQ(ReadFile(out / "log.txt"), earlier + "#ERROR# - Invalid start date: bad\r\n");
}

}  // namespace
