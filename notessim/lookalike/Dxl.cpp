// The DXL exporter.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

struct WriteCall {
    XML_WRITE_FUNCTION writer;
    void* action;
};

// The runtime's writer shape in front of the caller's XML_WRITE_FUNCTION, which is __stdcall on
// 32-bit Windows.
void DeliverDxl(const unsigned char* data, std::uint32_t length, void* context) {
    const auto* call = static_cast<const WriteCall*>(context);
    call->writer(data, length, call->action);
}

}  // namespace

STATUS LNPUBLIC DXLCreateExporter(DXLEXPORTHANDLE* retExporter) try {
    return notes::CreateDxlExporter(retExporter);
} catch (...) {
    return CaughtException("DXLCreateExporter");
}

STATUS LNPUBLIC DXLExportIDTable(DXLEXPORTHANDLE exporter, XML_WRITE_FUNCTION writer,
                                 DBHANDLE database, DHANDLE idTable, void* action) try {
    WriteCall call{writer, action};
    return notes::ExportIdTableAsDxl(exporter, writer == nullptr ? nullptr : DeliverDxl, database,
                                     idTable, &call);
} catch (...) {
    return CaughtException("DXLExportIDTable");
}

void LNPUBLIC DXLDeleteExporter(DXLEXPORTHANDLE exporter) try {
    Release("DXLDeleteExporter", notessim::HandleKind::exporter, exporter,
            notes::DeleteDxlExporter);
} catch (...) {
    CaughtException("DXLDeleteExporter");
}
