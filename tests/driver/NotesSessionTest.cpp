#include "driver/NotesSession.h"

#include <gtest/gtest.h>

#include "driver/RunSettings.h"
#include "notessim/SimControl.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace driver {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class NotesSession : public ::testing::Test {
protected:
    void SetUp() override {
        notessim::ResetRuntime();
        Settings() = RunSettings{};
        Settings().outputDir = platform::Utf8ToUtf16(dir.path().string());
        WriteFile(dir / "env" / "notes.ini", "[Notes]\nDirectory=.\n");
        WriteFile(dir / "env" / "me.id", R"({"user": "CN=Me/O=Acme", "password": "right"})");
        ini = u"=" + platform::Utf8ToUtf16((dir / "env" / "notes.ini").string());
    }
    void TearDown() override {
        Settings() = RunSettings{};
        Arguments() = {};
        notessim::ResetRuntime();
    }
    void UseArguments(std::vector<std::u16string> arguments) {
        args = std::move(arguments);
        vector.clear();
        for (const auto& argument : args) vector.push_back(argument.c_str());
        Arguments() = {static_cast<int>(vector.size()), vector.data(), {}};
    }
    std::string Log() const { return ReadFile(dir / "log.txt"); }

    testsupport::ScratchDir dir;
    std::u16string ini;
    std::vector<std::u16string> args;
    std::vector<const char16_t*> vector;
};

TEST_F(NotesSession, EqualsArgumentsReachTheRuntimeInOrderAfterTheProgramPath) {
    UseArguments({u"/bin/dxlexporter", u"-s", u"x", ini, u"-nab", u"=second"});
    ASSERT_EQ(StartNotesSession(), 0);
    const std::vector<std::string> expected = {"/bin/dxlexporter",
                                               platform::Utf16ToUtf8(ini), "=second"};
    EXPECT_EQ(notessim::State().startupArguments, expected);
    EndNotesSession();
}

TEST_F(NotesSession, NoSwitchUnlessBothIdFileAndPasswordAreSet) {
    UseArguments({u"dxlexporter", ini});
    ASSERT_EQ(StartNotesSession(), 0);
    Settings().idFile = u"me.id";
    EXPECT_EQ(SwitchUserId(), 0);
    Settings().idFile.clear();
    Settings().password = u"wrong";
    EXPECT_EQ(SwitchUserId(), 0);
    EXPECT_EQ(notessim::CallCounts().count("SwitchToIdFile"), 0u);
    Settings().idFile = u"me.id";
    Settings().password = u"right";
    EXPECT_EQ(SwitchUserId(), 0);
    EXPECT_EQ(notessim::State().user, "CN=Me/O=Acme");
    EndNotesSession();
}

TEST_F(NotesSession, AFailedStartIsLoggedInHexAndNeverEnded) {
    UseArguments({u"dxlexporter", u"=" + platform::Utf8ToUtf16((dir / "none.ini").string())});
    EXPECT_FALSE(EnterNotesSession());
    EXPECT_EQ(Log(), "#ERROR# - Notes initialization failed (1A5)\r\n");
    EXPECT_TRUE(notessim::HandleMisuses().empty());  // TerminateNotes was not called
}

TEST_F(NotesSession, AWrongPasswordIsLoggedWithTheRuntimesTextAndEndsTheSession) {
    UseArguments({u"dxlexporter", ini});
    Settings().idFile = u"me.id";
    Settings().password = u"wrong-secret";
    EXPECT_FALSE(EnterNotesSession());
    EXPECT_FALSE(notessim::State().initialized);
    EXPECT_EQ(Log(), "#ERROR# - Unable to switch id (Wrong Password. (Passwords are case "
                     "sensitive - be sure to use correct upper and lower case.))\r\n");
}

TEST_F(NotesSession, AMissingIdFileIsReported) {
    UseArguments({u"dxlexporter", ini});
    Settings().idFile = u"absent.id";
    Settings().password = u"x";
    EXPECT_FALSE(EnterNotesSession());
    EXPECT_EQ(Log(), "#ERROR# - Unable to switch id (File does not exist)\r\n");
}

TEST_F(NotesSession, OverlongValuesAreRefusedRatherThanCut) {
    UseArguments({u"dxlexporter", ini});
    ASSERT_EQ(StartNotesSession(), 0);
    Settings().idFile = u"me.id";
    Settings().password = std::u16string(1024, u'p');
    EXPECT_EQ(SwitchUserId(), 0x040F);  // ERR_VALUE_LENGTH "Value too long"
    Settings().password = u"right";
    Settings().idFile = std::u16string(1024, u'i');
    EXPECT_EQ(SwitchUserId(), 462);
    EXPECT_EQ(notessim::CallCounts().count("SwitchToIdFile"), 0u);
    EndNotesSession();

    UseArguments({u"dxlexporter", ini, u"=" + std::u16string(259, u'a')});
    EXPECT_EQ(StartNotesSession(), 462);
}

TEST_F(NotesSession, APasswordThatJustFitsIsPassedWhole) {
    WriteFile(dir / "env" / "long.id",
              R"({"user": "CN=Long/O=Acme", "password": ")" + std::string(1023, 'p') + "\"}");
    UseArguments({u"dxlexporter", ini});
    ASSERT_EQ(StartNotesSession(), 0);
    Settings().idFile = u"long.id";
    Settings().password = std::u16string(1023, u'p');
    EXPECT_EQ(SwitchUserId(), 0);
    EXPECT_EQ(notessim::State().user, "CN=Long/O=Acme");
    EndNotesSession();
}

}  // namespace
}  // namespace driver
