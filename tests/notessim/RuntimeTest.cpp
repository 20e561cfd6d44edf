#include <gtest/gtest.h>

#include <cstring>

#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"
#include "notessim/SimControl.h"
#include "notessim/Statuses.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::WriteFile;

class Runtime : public ::testing::Test {
protected:
    void SetUp() override { notessim::ResetRuntime(); }
    void TearDown() override {
        if (notessim::State().initialized) notes::TerminateNotes();
        EXPECT_TRUE(notessim::OpenHandles().empty());
        EXPECT_TRUE(notessim::HandleMisuses().empty());
        notessim::ResetRuntime();
    }
    notes::NotesStatus Start(const std::string& ini) {
        WriteFile(dir / "notes.ini", ini);
        arg = "=" + (dir / "notes.ini").string();
        char* argv[] = {program, arg.data(), nullptr};
        return notes::InitializeNotes(2, argv);
    }
    std::string Text(notes::NotesStatus status) {
        char buffer[256];
        notes::GetStatusText(0, status, buffer, 255);
        return buffer;
    }
    // What the runtime tells of the last failure beyond its status.
    static std::string LastDiagnostic() {
        const auto diagnostics = notessim::Diagnostics();
        return diagnostics.empty() ? "" : diagnostics.back();
    }

    testsupport::ScratchDir dir;
    std::string arg;
    char program[12] = "dxlexporter";
};

TEST_F(Runtime, NotesIniSettingsAreEnvironmentVariablesMatchedWithoutCase) {
    ASSERT_EQ(Start("[Notes]\n; comment=ignored\nMailServer=CN=Mail01/O=Acme\r\nEq=a=b\nmailserver=late\n"), 0);
    char value[256];
    ASSERT_TRUE(notes::GetEnvironmentText("MAILSERVER", value, 255));
    EXPECT_STREQ(value, "CN=Mail01/O=Acme");
    ASSERT_TRUE(notes::GetEnvironmentText("Eq", value, 255));
    EXPECT_STREQ(value, "a=b");
    EXPECT_FALSE(notes::GetEnvironmentText("; comment", value, 255));
    EXPECT_FALSE(notes::GetEnvironmentText("Missing", value, 255));
    ASSERT_TRUE(notes::GetEnvironmentText("MailServer", value, 4));
    EXPECT_STREQ(value, "CN=M");
}

TEST_F(Runtime, TheFirstEqualsArgumentWinsAndAMissingIniIsStatus421) {
    WriteFile(dir / "real.ini", "Directory=data\n");
    std::string first = "=" + (dir / "real.ini").string();
    std::string second = "=" + (dir / "absent.ini").string();
    char* argv[] = {program, first.data(), second.data(), nullptr};
    ASSERT_EQ(notes::InitializeNotes(3, argv), 0);
    EXPECT_EQ(notessim::State().dataDirectory, dir.path() / "data");
    notes::TerminateNotes();

    char* missing[] = {program, second.data(), nullptr};
    EXPECT_EQ(notes::InitializeNotes(2, missing), notes::kStatusIniNotFound);
    EXPECT_EQ(Text(421), "The NOTES.INI file cannot be found on the search path (PATH)");
}

TEST_F(Runtime, MalformedSettingsGiveAStatusWithTheFileInTheDiagnostics) {
    const notes::NotesStatus status = Start("SimViewBatch=lots\n");
    EXPECT_EQ(status, 0x0206);  // ERR_STRUCT
    EXPECT_EQ(Text(status), "The program cannot interpret this file due to an invalid structure");
    EXPECT_NE(LastDiagnostic().find("notes.ini"), std::string::npos) << LastDiagnostic();
    EXPECT_NE(Start("SimFault=OpenDatabase\n"), 0);
}

// The texts are the real library's, fixed for a status; one it has none for gives length 0.
TEST_F(Runtime, StatusTextsAreTheLibrarysAndAbsentForOthers) {
    EXPECT_EQ(Text(462), "The server and file name specified exceeds 256 characters.");
    EXPECT_EQ(Text(0x2011), "No mail server or mail database name specified");
    EXPECT_EQ(Text(0x0803 | 0x8000), testsupport::kServerNotFoundText);
    char buffer[256] = "untouched";
    // ERR_EM_CONTINUE and ERR_NO_MORE_MEMBERS are internal: no text is stored for them.
    for (const notes::NotesStatus status : {725, 0x0311, 0x3ABC, 0x0123}) {
        EXPECT_EQ(notes::GetStatusText(0, status, buffer, sizeof buffer), 0) << status;
        EXPECT_STREQ(buffer, "");
    }
    EXPECT_EQ(Text(260), "File already exists");
    EXPECT_EQ(Text(264), "File cannot be created");
    EXPECT_EQ(Text(270), "I/O data error");
    EXPECT_EQ(Text(413), "Operation stopped at your request");
    EXPECT_EQ(Text(259), "File does not exist");
    char small[8];
    EXPECT_EQ(notes::GetStatusText(0, 270, small, sizeof small), 7);
    EXPECT_STREQ(small, "I/O dat");
}

TEST_F(Runtime, FaultsHitTheNthCallOrEveryCallWithoutDoingTheWork) {
    WriteFile(dir / "local.nsf", R"({"title": "L"})");
    ASSERT_EQ(Start("Directory=.\nSimFault=OpenDatabase#2:259, GetDatabasePath:0x02B4\n"), 0);
    notes::DatabaseHandle db = 0;
    EXPECT_EQ(notes::OpenDatabase("local.nsf", &db), 0);
    notes::CloseDatabase(db);
    db = 0;
    EXPECT_EQ(notes::OpenDatabase("local.nsf", &db), 259);
    EXPECT_EQ(db, 0u);
    EXPECT_EQ(notessim::OpenHandles().size(), 0u);  // the failing call did no work
    EXPECT_EQ(notes::OpenDatabase("local.nsf", &db), 0);
    char path[256];
    EXPECT_EQ(notes::GetDatabasePath(db, path, nullptr), 0x02B4);
    EXPECT_EQ(notes::GetDatabasePath(db, path, nullptr), 0x02B4);
    notes::CloseDatabase(db);
    EXPECT_EQ(notessim::CallCounts().at("OpenDatabase"), 3u);
}

TEST_F(Runtime, CallNumbersStartAgainAfterAReset) {
    ASSERT_EQ(Start(""), 0);
    char path[256];
    for (int i = 0; i < 3; ++i) EXPECT_EQ(notes::BuildNetworkPath(nullptr, "", "a.nsf", path), 0);
    notes::TerminateNotes();
    notessim::ResetRuntime();
    EXPECT_TRUE(notessim::CallCounts().empty());
    ASSERT_EQ(Start("SimFault=BuildNetworkPath#1:0x02B4\n"), 0);
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "", "a.nsf", path), 0x02B4);
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "", "a.nsf", path), 0);
    EXPECT_EQ(notessim::CallCounts().at("BuildNetworkPath"), 2u);
}

// A path the library would cut at 255 bytes is refused with ERR_PATH_NAME_TOO_LONG first.
TEST_F(Runtime, NetworkPathsJoinServerAndFileAndRefuseOverlongResults) {
    char path[256];
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "Hub01/Acme", "catalog.nsf", path), 0);
    EXPECT_STREQ(path, "Hub01/Acme!!catalog.nsf");
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, nullptr, "catalog.nsf", path), 0);
    EXPECT_STREQ(path, "catalog.nsf");
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "Hub01", std::string(248, 'f').c_str(), path), 0);
    EXPECT_EQ(std::strlen(path), 255u);
    std::strcpy(path, "untouched");
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "Hub01", std::string(249, 'f').c_str(), path), 462);
    EXPECT_STREQ(path, "untouched");
    EXPECT_EQ(notes::BuildNetworkPath(nullptr, "", std::string(256, 'f').c_str(), path), 462);
    EXPECT_EQ(notessim::CallCounts().at("BuildNetworkPath"), 3u);
}

TEST_F(Runtime, DatabasesOpenOnTheLocalMachineAndOnServersInAnyNameForm) {
    WriteFile(dir / "local.nsf", R"({"title": "L"})");
    WriteFile(dir / "hub" / "mail" / "jdoe.nsf", R"({"title": "J"})");
    WriteFile(dir / "servers.json", R"({"CN=Hub01/O=Acme": "hub"})");
    ASSERT_EQ(Start("Directory=.\n"), 0);
    char path[256];
    notes::DatabaseHandle db = 0;
    ASSERT_EQ(notes::OpenDatabase("local.nsf", &db), 0);
    ASSERT_EQ(notes::GetDatabasePath(db, path, nullptr), 0);
    EXPECT_STREQ(path, "local.nsf");
    notes::CloseDatabase(db);
    for (const char* name : {"hub01/acme!!mail/jdoe.nsf", "CN=HUB01/O=Acme!!mail/jdoe.nsf"}) {
        ASSERT_EQ(notes::OpenDatabase(name, &db), 0) << name;
        ASSERT_EQ(notes::GetDatabasePath(db, path, nullptr), 0);
        EXPECT_STREQ(path, "CN=Hub01/O=Acme!!mail/jdoe.nsf");
        notes::CloseDatabase(db);
    }
    EXPECT_EQ(notes::OpenDatabase("absent.nsf", &db), notes::kStatusFileNotFound);
    EXPECT_EQ(notes::OpenDatabase("", &db), notes::kStatusFileNotFound);
    EXPECT_EQ(notes::OpenDatabase("../outside.nsf", &db), notes::kStatusFileNotFound);
    EXPECT_EQ(notes::OpenDatabase("Nowhere/Acme!!local.nsf", &db), 0x0803);
    EXPECT_EQ(LastDiagnostic(), "0x0803: Unable to find path to server Nowhere/Acme");
}

TEST_F(Runtime, AMalformedDatabaseIsNoDatabaseNeverACrash) {
    WriteFile(dir / "bad.nsf", R"({"notes": [{"items": [["Form", {"odd": 1}]]}]})");
    WriteFile(dir / "view.nsf", R"({"notes": [], "views": {"V": [44]}})");
    WriteFile(dir / "json.nsf", R"({"notes": [)");
    ASSERT_EQ(Start("Directory=.\n"), 0);
    notes::DatabaseHandle db = 0;
    for (const char* name : {"bad.nsf", "view.nsf", "json.nsf"}) {
        EXPECT_EQ(notes::OpenDatabase(name, &db), 0x0201) << name;  // ERR_NOT_NSF
        EXPECT_NE(LastDiagnostic().find(name), std::string::npos) << LastDiagnostic();
    }
}

TEST_F(Runtime, HandleMisuseIsReportedNotAccepted) {
    WriteFile(dir / "local.nsf", "{}");
    ASSERT_EQ(Start("Directory=.\n"), 0);
    notes::DatabaseHandle db = 0;
    ASSERT_EQ(notes::OpenDatabase("local.nsf", &db), 0);
    EXPECT_EQ(notessim::OpenHandles().size(), 1u);
    notes::CloseDatabase(db);
    notes::CloseDatabase(db);
    char path[256];
    EXPECT_NE(notes::GetDatabasePath(db, path, nullptr), 0);
    EXPECT_EQ(notessim::HandleMisuses().size(), 2u);
    notessim::ResetHandles();
}

TEST_F(Runtime, TheIdSwitchChecksThePasswordAndNamesTheUser) {
    WriteFile(dir / "ids" / "me.id", R"({"user": "CN=Me/O=Acme", "password": "pw"})");
    WriteFile(dir / "broken.id", "not json");
    ASSERT_EQ(Start("Directory=.\n"), 0);
    char user[256];
    EXPECT_EQ(notes::SwitchToIdFile("ids/me.id", "pw", user, 256, 8, nullptr), 0);
    EXPECT_STREQ(user, "CN=Me/O=Acme");
    EXPECT_EQ(notes::SwitchToIdFile("ids/me.id", "PW", user, 256, 8, nullptr), 0x1908);
    EXPECT_EQ(notes::SwitchToIdFile("none.id", "pw", user, 256, 8, nullptr), 259);
    // ERR_BSAFE_INVUSERIDFILE, the damaged file named in the diagnostics.
    EXPECT_EQ(notes::SwitchToIdFile("broken.id", "pw", user, 256, 8, nullptr), 0x1754);
    EXPECT_NE(LastDiagnostic().find("broken.id"), std::string::npos);
}

TEST_F(Runtime, TimesOrderAsHighThenLowWord) {
    notes::TimeDate earliest, latest, made;
    notes::SetTimeLimit(0, &earliest);
    notes::SetTimeLimit(1, &latest);
    notes::MakeTimeValue(0x0000000A, 0x00000001, &made);
    EXPECT_EQ(notes::TimeHighWord(&made), 0x0Au);
    EXPECT_EQ(notes::TimeLowWord(&made), 0x01u);
    auto key = [](const notes::TimeDate& t) {
        return (std::uint64_t{notes::TimeHighWord(&t)} << 32) | notes::TimeLowWord(&t);
    };
    EXPECT_LT(key(earliest), key(made));
    EXPECT_LT(key(made), key(latest));
}

TEST_F(Runtime, TheReportListsHandlesLeftOpen) {
    WriteFile(dir / "local.nsf", "{}");
    ASSERT_EQ(Start("Directory=.\nSimReport=" + (dir / "report.json").string() + "\n"), 0);
    notes::DatabaseHandle db = 0;
    ASSERT_EQ(notes::OpenDatabase("local.nsf", &db), 0);
    notes::TerminateNotes();
    const std::string report = testsupport::ReadFile(dir / "report.json");
    EXPECT_NE(report.find("\"kind\": \"database\""), std::string::npos) << report;
    EXPECT_NE(report.find("\"OpenDatabase\": 1"), std::string::npos) << report;
    EXPECT_NE(report.find("\"peakDatabaseBytes\""), std::string::npos) << report;
    notes::CloseDatabase(db);  // not initialized any more, but the handle is still tracked
}

}  // namespace
