// Where the C API's shapes differ from the runtime's: WORD collection numbers, the release
// function of each handle family, widths that must be refused rather than cut, buffer lengths
// and activity stream pointers.
#include <cstring>
#include <string>
#include <vector>

#include "notessim/Statuses.h"
#include "tests/lookalike/LookalikeSession.h"

namespace {

using namespace notesapi;
using lookalikesession::CountNaming;

constexpr const char* kViews = R"({"title": "Views", "replicaId": "C1257C0000112233",
  "notes": [{"id": 4, "items": []}, {"id": 8, "items": []}, {"id": 12, "items": []}],
  "views": {"Two": [4, 8], "Three": [4, 8, 12]}})";

class Boundary : public lookalikesession::Session {};

HCOLLECTION OpenView(DBHANDLE database, const char* name) {
    NOTEID view = 0;
    EXPECT_EQ(NIFFindDesignNoteExt(database, name, 0, nullptr, &view, 0), 0);
    HCOLLECTION collection = 0;
    EXPECT_EQ(NIFOpenCollection(database, database, view, 0, 0, &collection, nullptr, nullptr,
                                nullptr, nullptr),
              0);
    return collection;
}

DWORD CountEntries(HCOLLECTION collection) {
    COLLECTIONPOSITION position{};
    DHANDLE buffer = 0;
    DWORD returned = 0;
    EXPECT_EQ(NIFReadEntries(collection, &position, 1, 1, 1, 0xFFFF, 0x8001, &buffer, nullptr,
                             nullptr, &returned, nullptr),
              0);
    if (buffer != 0) {
        EXPECT_EQ(OSMemFree(buffer), 0);
    }
    return returned;
}

TEST_F(Boundary, CollectionNumbersMapBackToTheirViewsAcrossTheWrapOfSixteenBits) {
    Start({{"views.nsf", kViews}});
    DBHANDLE database = 0;
    ASSERT_EQ(NSFDbOpen("views.nsf", &database), 0);
    const HCOLLECTION kept = OpenView(database, "Three");
    ASSERT_NE(kept, 0);
    for (unsigned opened = 0; opened < 0x10010; ++opened) {
        const HCOLLECTION other = OpenView(database, "Two");
        ASSERT_NE(other, 0);
        ASSERT_NE(other, kept);
        if (opened % 0x4000 == 0) {
            EXPECT_EQ(CountEntries(other), 2u);
        }
        ASSERT_EQ(NIFCloseCollection(other), 0);
    }
    EXPECT_EQ(CountEntries(kept), 3u);
    EXPECT_EQ(NIFCloseCollection(kept), 0);

    EXPECT_NE(NIFCloseCollection(kept), 0);
    DWORD returned = 7;
    COLLECTIONPOSITION position{};
    DHANDLE buffer = 0;
    EXPECT_NE(NIFReadEntries(kept, &position, 1, 1, 1, 10, 0x8001, &buffer, nullptr, nullptr,
                             &returned, nullptr),
              0);
    NOTEHANDLE viewNote = 0;
    HCOLLECTION refused = 0;
    EXPECT_NE(NIFOpenCollection(database, database, 0, 0, 0, &refused, &viewNote, nullptr,
                                nullptr, nullptr),
              0);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(NSFDbClose(database), 0);
    const auto misuses = End();
    EXPECT_EQ(CountNaming(misuses, "NIFCloseCollection"), 1u);
    EXPECT_EQ(CountNaming(misuses, "NIFReadEntries"), 1u);
    EXPECT_EQ(CountNaming(misuses, "NIFOpenCollection"), 1u);
    EXPECT_EQ(misuses.size(), 3u);
}

TEST_F(Boundary, AnIdTableFreedAsPlainMemoryIsAMisuseAndStaysUsable) {
    Start({});
    DHANDLE table = 0;
    EXPECT_EQ(IDCreateTable(0x10000, &table), notessim::kStatusUnsupportedArgument);
    ASSERT_EQ(IDCreateTable(0, &table), 0);
    EXPECT_NE(OSMemFree(table), 0);
    BOOL inserted = 0;
    EXPECT_EQ(IDInsert(table, 8, &inserted), 0);
    EXPECT_NE(inserted, 0);
    EXPECT_EQ(IDInsert(table, 8, &inserted), 0);
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(IDEntries(table), 1u);
    EXPECT_EQ(IDDestroyTable(table), 0);
    const auto misuses = End();
    EXPECT_EQ(CountNaming(misuses, "OSMemFree"), 1u);
    EXPECT_EQ(misuses.size(), 1u);
}

TEST_F(Boundary, NameLookupFlagsBeyondSixteenBitsAreRefusedAndDiagnosed) {
    Start({});
    DHANDLE buffer = 0;
    const char nameSpace[] = "($Users)";
    const char item[] = "FullName";
    const STATUS status =
        NAMELookup2(nullptr, 0x10001, 1, nameSpace, 1, "", 1, item, &buffer);
    EXPECT_EQ(status, 0x0495);  // ERR_MISC_INVALID_ARGS
    EXPECT_EQ(buffer, 0u);
    EXPECT_EQ(StatusText(status), "Invalid arguments");
    EXPECT_EQ(End(), std::vector<std::string>{});
    EXPECT_EQ(diagnostics_, std::vector<std::string>{
                                "0x0495: NAMELookup2: flags 65537 does not fit the runtime's 16 bits"});
}

// As the reference says: "Always returns NOERROR", and a path past MAXPATH - 1 is cut there.
TEST_F(Boundary, NetworkPathsPastTheirBufferAreCutAndSucceed) {
    Start({});
    std::vector<char> path(300, 'x');
    const std::string file(300, 'f');
    // "S!!" and 252 bytes fill the 255 bytes; one byte more is cut away.
    for (const std::size_t length : {252u, 253u}) {
        EXPECT_EQ(OSPathNetConstruct(nullptr, "S", file.substr(0, length).c_str(), path.data()), 0);
        EXPECT_EQ(std::string(path.data()), "S!!" + file.substr(0, 252)) << length;
    }
    EXPECT_EQ(OSPathNetConstruct(nullptr, nullptr, file.c_str(), path.data()), 0);
    EXPECT_EQ(std::string(path.data()), file.substr(0, 255));
    EXPECT_EQ(path[256], 'x');
}

TEST_F(Boundary, StatusTextsTakeTheLongestTextWithItsNulAfterIt) {
    Start({});
    const std::string full = "File does not exist";  // status 259
    std::vector<char> buffer(0x10000, 'x');
    EXPECT_EQ(OSLoadString(0, 259, buffer.data(), 10), 10);
    EXPECT_EQ(std::string(buffer.data()), full.substr(0, 10));
    EXPECT_EQ(buffer[11], 'x');
    EXPECT_EQ(OSLoadString(0, 259 | 0x8000, buffer.data(), 19), full.size());
    EXPECT_EQ(std::string(buffer.data()), full);
    EXPECT_EQ(OSLoadString(0, 259, buffer.data(), 0xFFFF), full.size());
}

struct Delivered {
    std::vector<std::string> types;
    int withTime = 0;
};

STATUS LNCALLBACK Keep(const char* descName, DWORD /*descIdx*/, DWORD /*flags*/,
                       WORD /*primaryKey*/, const TIMEDATE* timeStamp, void* record,
                       void* userData) {
    auto* delivered = static_cast<Delivered*>(userData);
    delivered->types.emplace_back(descName);
    WORD items = 0;
    std::memcpy(&items, static_cast<const BYTE*>(record) + 2, sizeof items);
    EXPECT_EQ(items, 1);
    delivered->withTime += timeStamp != nullptr && timeStamp->Innards[1] != 0;
    return NOERROR;
}

TEST_F(Boundary, ActivityStreamsAreTakenOnlyByLivePointersAndDocumentedPositionSizes) {
    Start({{"log.nsf", R"({"title": "Log", "replicaId": "C1257A3B00501A2B", "notes": []})"},
           {"log.nsf.activity.jsonl", R"({"type": "Domino.HTTP", "time": "2026-12-01T08:00:00.00Z",)"
                                      R"( "items": [["StatusCode", 404]]})" "\n"}});
    void* stream = nullptr;
    ASSERT_EQ(LogOpenActivityStream(&stream, nullptr, "log.nsf", nullptr, 0, nullptr), 0);
    Delivered delivered;
    EXPECT_EQ(LogEnumActivityStream(stream, Keep, &delivered, nullptr, 0), 0);
    ACTIVITYSTREAMPOSITION position{};
    EXPECT_EQ(LogEnumActivityStream(stream, Keep, &delivered, &position, sizeof position), 0);
    EXPECT_NE(LogEnumActivityStream(stream, Keep, &delivered, &position, 4), 0);
    EXPECT_EQ(LogCloseActivityStream(stream), 0);
    EXPECT_NE(LogEnumActivityStream(stream, Keep, &delivered, nullptr, 0), 0);
    EXPECT_NE(LogCloseActivityStream(stream), 0);
    int notAStream = 0;
    EXPECT_NE(LogEnumActivityStream(&notAStream, Keep, &delivered, nullptr, 0), 0);

    EXPECT_EQ(delivered.types, (std::vector<std::string>{"Domino.HTTP", "Domino.HTTP"}));
    EXPECT_EQ(delivered.withTime, 2);
    const auto misuses = End();
    EXPECT_EQ(CountNaming(misuses, "LogEnumActivityStream"), 3u);
    EXPECT_EQ(CountNaming(misuses, "LogCloseActivityStream"), 1u);
}

}  // namespace

namespace {

// An input length of 0xFFFF reads up to the NUL (a 16-bit NUL in UTF-16); 0xFFFE is a length.
TEST_F(Boundary, TranslationInputOf0xFFFFEndsAtTheNul) {
    std::string text = "ab" + std::string(1, '\0') + std::string(0xFFFF, 'c');
    std::string out(0x10000, '#');
    EXPECT_EQ(OSTranslate(22, text.data(), 0xFFFF, out.data(), 0xFFFF), 2);
    EXPECT_EQ(out.substr(0, 3), "ab#");
    EXPECT_EQ(OSTranslate(22, text.data(), 0xFFFE, out.data(), 0xFFFF), 0xFFFE);
    EXPECT_EQ(out.substr(0, 4), std::string("ab\0c", 4));
    EXPECT_EQ(out[0xFFFE], '#');
    text[2] = 'x';
    EXPECT_EQ(OSTranslate(22, text.data(), 0xFFFF, out.data(), 0xFFFF), 0xFFFF);
    const std::u16string wide = u"a\u4E2Db" + std::u16string(1, u'\0') + u"c";
    EXPECT_EQ(OSTranslate(23, reinterpret_cast<const char*>(wide.data()), 0xFFFF, out.data(), 100),
              5);
    EXPECT_EQ(out.substr(0, 5), "a\x14\x4E\x2D" "b");
}

}  // namespace
