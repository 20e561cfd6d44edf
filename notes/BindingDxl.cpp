// The DXL exporter.
#include "notes/ActiveCall.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

using Export = binding::ActiveCall<DxlStreamCallback>;

void LNCALLBACK RelayDxlChunk(const notesapi::BYTE* bytes, notesapi::DWORD length,
                              void* /*action*/) {
    if (const Export* active = Export::Find()) active->callback()(bytes, length, active->context());
}

}  // namespace

using binding::Api;

NotesStatus CreateDxlExporter(DxlExporterHandle* exporter) {
    binding::Received<notesapi::DXLEXPORTHANDLE> created;
    return binding::CheckedHandle("DXLCreateExporter", Api().DXLCreateExporter(created.Target()),
                                  created, exporter);
}

NotesStatus ExportIdTableAsDxl(DxlExporterHandle exporter, DxlStreamCallback writer,
                               DatabaseHandle database, IdTableHandle table, void* context) {
    Export active(writer, context);
    return binding::Checked("DXLExportIDTable", Api().DXLExportIDTable(exporter, RelayDxlChunk,
                                                                       database, table, &active));
}

void DeleteDxlExporter(DxlExporterHandle exporter) { Api().DXLDeleteExporter(exporter); }

}  // namespace notes
