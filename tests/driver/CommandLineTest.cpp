#include "driver/run/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace driver {
namespace {

struct Parse {
    RunSettings settings;
    ParsedCommandLine parsed;

    explicit Parse(std::vector<std::u16string> arguments) : args(std::move(arguments)) {
        args.insert(args.begin(), u"dxlexporter");
        for (const auto& argument : args) vector.push_back(argument.c_str());
        parsed = ParseCommandLine(static_cast<int>(vector.size()), vector.data(), settings);
    }

private:
    std::vector<std::u16string> args;
    std::vector<const char16_t*> vector;
};

TEST(CommandLine, ValueOptionsFillTheirFieldsAndLaterValuesWin) {
    Parse p({u"-s", u"Hub01/Acme", u"-p", u"a.nsf", u"-o", u"out", u"-start", u"00000001",
             u"-id", u"x.id", u"-password", u"secret", u"-rowLimit", u"5", u"-s", u"Second"});
    EXPECT_EQ(p.parsed.outcome, ParseOutcome::run);
    EXPECT_EQ(p.settings.server, u"Second");
    EXPECT_EQ(p.settings.databasePath, u"a.nsf");
    EXPECT_EQ(p.settings.outputDir, u"out");
    EXPECT_EQ(p.settings.startTime, u"00000001");
    EXPECT_EQ(p.settings.idFile, u"x.id");
    EXPECT_EQ(p.settings.password, u"secret");
    EXPECT_EQ(p.settings.rowLimit, u"5");
    EXPECT_EQ(p.settings.logThreshold, 1);
}

TEST(CommandLine, OptionsMatchWithoutRegardToCase) {
    Parse p({u"-CATALOG", u"-RowLimit", u"7", u"-Debug", u"-O", u"x"});
    EXPECT_TRUE(p.parsed.mode.catalog);
    EXPECT_EQ(p.settings.rowLimit, u"7");
    EXPECT_EQ(p.settings.logThreshold, 0);
    EXPECT_EQ(p.settings.outputDir, u"x");
}

TEST(CommandLine, ValueOptionTakesTheNextArgumentWhateverItHolds) {
    Parse p({u"-s", u"-catalog", u"-p", u"=names.nsf"});
    EXPECT_EQ(p.parsed.outcome, ParseOutcome::run);
    EXPECT_EQ(p.settings.server, u"-catalog");
    EXPECT_FALSE(p.parsed.mode.catalog);
    EXPECT_EQ(p.settings.databasePath, u"=names.nsf");
}

TEST(CommandLine, EqualsArgumentsAreSkippedAnywhere) {
    Parse p({u"=notes.ini", u"-nab", u"=other.ini"});
    EXPECT_EQ(p.parsed.outcome, ParseOutcome::run);
    EXPECT_TRUE(p.parsed.mode.nab);
}

TEST(CommandLine, HelpStopsTheParseAndBeatsAnEarlierVersionRequest) {
    EXPECT_EQ(Parse({u"-v", u"-h"}).parsed.outcome, ParseOutcome::help);
    EXPECT_EQ(Parse({u"-?", u"-bogus"}).parsed.outcome, ParseOutcome::help);
    EXPECT_EQ(Parse({u"-v", u"-bogus"}).parsed.outcome, ParseOutcome::invalid);
    EXPECT_EQ(Parse({u"-bogus", u"-h"}).parsed.outcome, ParseOutcome::invalid);
}

TEST(CommandLine, VersionIsAnsweredOnlyAfterAFullParse) {
    Parse p({u"-version", u"-catalog", u"-o", u"missing"});
    EXPECT_EQ(p.parsed.outcome, ParseOutcome::version);
}

TEST(CommandLine, SeveralModesAreAllMarked) {
    Parse p({u"-nab", u"-servers", u"-catalog", u"-logscan", u"-brenvik"});
    EXPECT_TRUE(p.parsed.mode.nab && p.parsed.mode.servers && p.parsed.mode.catalog &&
                p.parsed.mode.logscan && p.parsed.mode.brenvik);
}

}  // namespace
}  // namespace driver
