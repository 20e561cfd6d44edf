// The note-open hook as the extension manager calls it: an EMRECORD whose Ap is a va_list of
// NSFNoteOpen's arguments, each registration with its own handler.
#include <cstdio>
#include <string>

#include "tests/lookalike/LookalikeSession.h"

namespace {

using namespace notesapi;

constexpr const char* kCatalog = R"({"title": "Catalog", "replicaId": "C1257C0000112233",
  "notes": [{"id": 4, "items": [["Form", "Notefile"], ["ReplicaId", {"time": "C1257A3B004F1E2D"}]]}]})";

struct SeenOpen {
    EID event = 0;
    WORD notification = 0;
    STATUS status = 0xFFFF;
    DBHANDLE database = 0;
    NOTEID id = 0;
    int openFlags = -1;
    int calls = 0;
};
SeenOpen theFirst;
int theSecondCalls = 0;

STATUS LNCALLBACK MarkOpenedNote(EMRECORD* record) {
    ++theFirst.calls;
    theFirst.event = record->EId;
    theFirst.notification = record->NotificationType;
    theFirst.status = record->Status;
    va_list arguments;
    va_copy(arguments, record->Ap);
    theFirst.database = va_arg(arguments, DBHANDLE);
    theFirst.id = va_arg(arguments, NOTEID);
    theFirst.openFlags = va_arg(arguments, int);  // a WORD, promoted
    NOTEHANDLE* note = va_arg(arguments, NOTEHANDLE*);
    va_end(arguments);
    TIMEDATE replicaId{};
    if (NSFItemGetTime(*note, "ReplicaId", &replicaId)) {
        char text[17];
        std::snprintf(text, sizeof text, "%08X%08X", replicaId.Innards[1], replicaId.Innards[0]);
        EXPECT_EQ(NSFItemSetText(*note, "Marker", text, 16), 0);
    }
    return ERR_EM_CONTINUE;
}

STATUS LNCALLBACK CountOpens(EMRECORD* /*record*/) {
    ++theSecondCalls;
    return ERR_EM_CONTINUE;
}

void Collect(const BYTE* bytes, DWORD length, void* action) {
    static_cast<std::string*>(action)->append(reinterpret_cast<const char*>(bytes), length);
}

std::string Export(DBHANDLE database, DHANDLE table) {
    DXLEXPORTHANDLE exporter = 0;
    EXPECT_EQ(DXLCreateExporter(&exporter), 0);
    std::string dxl;
    EXPECT_EQ(DXLExportIDTable(exporter, Collect, database, table, &dxl), 0);
    DXLDeleteExporter(exporter);
    return dxl;
}

class Hook : public lookalikesession::Session {};

TEST_F(Hook, EachHandlerReadsTheOpenedNoteFromTheRecordAndItsItemReachesTheDxl) {
    Start({{"catalog.nsf", kCatalog}});
    theFirst = {};
    theSecondCalls = 0;
    DBHANDLE database = 0;
    ASSERT_EQ(NSFDbOpen("catalog.nsf", &database), 0);
    DHANDLE table = 0;
    ASSERT_EQ(IDCreateTable(sizeof(NOTEID), &table), 0);
    ASSERT_EQ(IDInsert(table, 4, nullptr), 0);
    WORD first = 0;
    WORD second = 0;
    ASSERT_EQ(EMCreateRecursionID(&first), 0);
    ASSERT_EQ(EMCreateRecursionID(&second), 0);
    HEMREGISTRATION marking = 0;
    HEMREGISTRATION counting = 0;
    ASSERT_EQ(EMRegister(EM_NSFNOTEOPEN, EM_REG_AFTER, MarkOpenedNote, first, &marking), 0);
    ASSERT_EQ(EMRegister(EM_NSFNOTEOPEN, EM_REG_AFTER, CountOpens, second, &counting), 0);

    const std::string dxl = Export(database, table);

    EXPECT_EQ(theFirst.calls, 1);
    EXPECT_EQ(theSecondCalls, 1);
    EXPECT_EQ(theFirst.event, EM_NSFNOTEOPEN);
    EXPECT_EQ(theFirst.notification, EM_AFTER);
    EXPECT_EQ(theFirst.status, NOERROR);
    EXPECT_EQ(theFirst.database, database);
    EXPECT_EQ(theFirst.id, 4u);
    EXPECT_EQ(theFirst.openFlags, 0);
    EXPECT_NE(dxl.find("Marker"), std::string::npos) << dxl;
    EXPECT_NE(dxl.find("<text>C1257A3B004F1E2D</text>"), std::string::npos) << dxl;

    EXPECT_EQ(EMDeregister(marking), 0);
    EXPECT_EQ(EMDeregister(counting), 0);
    Export(database, table);
    EXPECT_EQ(theFirst.calls, 1);
    EXPECT_EQ(theSecondCalls, 1);
    EXPECT_NE(EMDeregister(counting), 0);
    EXPECT_EQ(IDDestroyTable(table), 0);
    EXPECT_EQ(NSFDbClose(database), 0);
    EXPECT_EQ(lookalikesession::CountNaming(End(), "EMDeregister"), 1u);
}

}  // namespace
