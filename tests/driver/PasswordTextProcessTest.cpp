// A password that is not UTF-8, from the environment or the command line: read as U+FFFD it
// would be another password, which opens an ID whose password holds U+FFFD. It fails the ID
// switch instead, and only a run that switches the ID at all.
#include <gtest/gtest.h>

#include "tests/support/AcmeRun.h"

namespace {

using testsupport::LogLines;
using testsupport::ProcessOptions;
using testsupport::RunExporter;

TEST(PasswordTextProcess, APasswordThatIsNotUtf8FailsTheIdSwitch) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "Windows values are UTF-16 already";
    const testsupport::AcmeRun acme;
    testsupport::WriteFile(
        acme.environment() / "replaced.id",
        "{\"user\": \"CN=Collector/O=Acme\", \"password\": \"acme\\ufffdcollect\"}");
    const std::string notUtf8 = "acme\xFF" "collect";

    int run = 0;
    const auto nab = [&](std::vector<std::string> arguments, ProcessOptions options) {
        const std::filesystem::path out = acme.scratch() / std::to_string(++run);
        std::filesystem::create_directories(out);
        arguments.insert(arguments.begin(), "-nab");
        options.workingDirectory = acme.environment();
        EXPECT_EQ(RunExporter(acme.Arguments(arguments, out), options).exitCode, 0);
        return out;
    };
    const std::vector<std::string> refused = {
        "#ERROR# - Unable to switch id (the password is not valid UTF-8)"};

    ProcessOptions fromEnvironment;
    fromEnvironment.environment["KORVA_NOTES_PASSWORD"] = notUtf8;
    auto out = nab({"-id", "replaced.id"}, fromEnvironment);
    EXPECT_EQ(LogLines(out / "log.txt"), refused);
    EXPECT_FALSE(std::filesystem::exists(out / "nab.xml"));

    ProcessOptions none;
    none.unsetEnvironment = {"KORVA_NOTES_PASSWORD"};
    out = nab({"-id", "replaced.id", "-password", notUtf8}, none);
    EXPECT_EQ(LogLines(out / "log.txt"), refused);
    EXPECT_FALSE(std::filesystem::exists(out / "nab.xml"));

    // Without an ID to switch to, the password is not used and the run goes on.
    out = nab({}, fromEnvironment);
    EXPECT_FALSE(std::filesystem::exists(out / "log.txt"));
    EXPECT_TRUE(std::filesystem::exists(out / "nab.xml"));

    // The same password in UTF-8 opens that ID.
    ProcessOptions exact;
    exact.environment["KORVA_NOTES_PASSWORD"] = "acme\xEF\xBF\xBD" "collect";
    out = nab({"-id", "replaced.id"}, exact);
    EXPECT_FALSE(std::filesystem::exists(out / "log.txt"));
    EXPECT_TRUE(std::filesystem::exists(out / "nab.xml"));
}

}  // namespace
