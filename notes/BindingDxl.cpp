// The DXL exporter.
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

struct DxlRelay {
    DxlStreamCallback writer;
    void* context;
};

void LNCALLBACK RelayDxlChunk(const notesapi::BYTE* bytes, notesapi::DWORD length, void* action) {
    const auto* relay = static_cast<const DxlRelay*>(action);
    relay->writer(bytes, length, relay->context);
}

}  // namespace

using binding::Api;

NotesStatus CreateDxlExporter(DxlExporterHandle* exporter) {
    binding::Received<notesapi::DXLEXPORTHANDLE> created;
    if (const NotesStatus status =
            binding::Checked("DXLCreateExporter", Api().DXLCreateExporter(created.Target()));
        status != 0) {
        return status;
    }
    return binding::Deliver(created, exporter, kStatusInvalidHandle);
}

NotesStatus ExportIdTableAsDxl(DxlExporterHandle exporter, DxlStreamCallback writer,
                               DatabaseHandle database, IdTableHandle table, void* context) {
    DxlRelay relay{writer, context};
    return binding::Checked("DXLExportIDTable", Api().DXLExportIDTable(exporter, RelayDxlChunk,
                                                                       database, table, &relay));
}

void DeleteDxlExporter(DxlExporterHandle exporter) { Api().DXLDeleteExporter(exporter); }

}  // namespace notes
