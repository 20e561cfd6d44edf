// Output folders that cannot be trusted: links and FIFOs under the names of output files, and a
// folder the run log cannot be written to.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include "tests/support/TestSupport.h"

namespace {

using testsupport::ReadFile;
using testsupport::RunExporter;
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
    {"nab.xml.tmp", {"-nab"}, "#ERROR# - Unable to read NAB (File cannot be created)"},
};

class OutputFolderProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::ExporterIsWindows()) {
            GTEST_SKIP() << "links, FIFOs and mounts of the POSIX file system, which Wine shows "
                            "the Windows build as something else";
        }
        testsupport::CopyExample("acme", env.path());
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
        std::vector<std::string> all = {"=" + (env / "notes.ini").string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        all.push_back("-o");
        all.push_back(out.string());
        return RunExporter(all, options);
    }
    std::vector<std::string> Log() const {
        if (!std::filesystem::exists(out / "log.txt")) return {};
        return testsupport::LogLines(out / "log.txt");
    }

    ScratchDir env;
    ScratchDir work;
    ScratchDir outRoot;
    ScratchDir elsewhere;
    std::filesystem::path out = outRoot / "out";
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

}  // namespace
