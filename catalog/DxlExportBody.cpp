#include "catalog/DxlExportBody.h"

#include "catalog/DxlChunkAppender.h"

namespace catalog {

DxlExportBody MakeDxlExportBody(notes::DxlExporterHandle exporter, notes::DatabaseHandle database,
                                notes::IdTableHandle idTable) {
    return [exporter, database, idTable] {
        // The callback only reads the name through the context.
        void* context = const_cast<char16_t*>(kDxlTemporaryFileName);
        return notes::ExportIdTableAsDxl(exporter, AppendDxlChunk, database, idTable, context);
    };
}

}  // namespace catalog
