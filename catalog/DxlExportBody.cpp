#include "catalog/DxlExportBody.h"

#include "catalog/DxlChunkAppender.h"
#include "catalog/ReplicaIdHook.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"

namespace catalog {
namespace {

// What a first run on a real installation must tell: whether the library's DXL exporter raised
// the note-open hook for the notes it exported.
void ReportHookCalls(notes::IdTableHandle idTable, unsigned hookCalls) {
    const std::uint32_t exported = notes::CountIdTableEntries(idTable);
    driver::LogDebug(u"DXL export of %u notes: %u note-open hook calls",
                     {std::int64_t{exported}, std::int64_t{hookCalls}});
    if (exported > 0 && hookCalls == 0) {
        driver::LogDebug(u"ReplicaIdText was not added because the library did not call the "
                         u"note-open hook");
    }
}

}  // namespace

notes::NotesStatus PrepareDxlExport(DxlExportTools& tools) {
    if (const auto status = notes::CreateDxlExporter(tools.exporter.Receive()); status != 0) {
        return status;
    }
    return RegisterReplicaIdHook(tools.hook);
}

DxlExportBody MakeDxlExportBody(notes::DxlExporterHandle exporter, notes::DatabaseHandle database,
                                notes::IdTableHandle idTable) {
    return [exporter, database, idTable] {
        // The callback only reads the name through the context.
        void* context = const_cast<char16_t*>(kDxlTemporaryFileName);
        const unsigned hookCallsBefore = ReplicaIdHookCalls();
        const notes::NotesStatus status =
            notes::ExportIdTableAsDxl(exporter, AppendDxlChunk, database, idTable, context);
        if (driver::Settings().logThreshold <= driver::kLogDebug) {
            ReportHookCalls(idTable, ReplicaIdHookCalls() - hookCallsBefore);
        }
        return status;
    };
}

}  // namespace catalog
