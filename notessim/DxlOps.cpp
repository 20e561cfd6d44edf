// The DXL exporter: the notes of an ID table as DXL text, streamed to a write callback in
// pieces of at most SimDxlChunk bytes, cut wherever the size limit falls.
#include <algorithm>
#include <memory>
#include <vector>

#include "notessim/ApiEdge.h"
#include "notessim/DxlText.h"
#include "notessim/Faults.h"
#include "notessim/OpenNotes.h"
#include "notessim/Runtime.h"
#include "notessim/Selection.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

struct DxlExporterObject : HandleObject {};

class ChunkedOutput {
public:
    ChunkedOutput(notesapi::XML_WRITE_FUNCTION writer, void* context, std::uint32_t chunkSize)
        : writer_(writer), context_(context), chunkSize_(chunkSize) {
        pending_.reserve(std::min<std::uint32_t>(chunkSize_, 1u << 20));
    }

    void Append(std::string_view text) {
        while (!text.empty()) {
            const std::size_t take =
                std::min<std::size_t>(chunkSize_ - pending_.size(), text.size());
            pending_.append(text.substr(0, take));
            text.remove_prefix(take);
            if (pending_.size() == chunkSize_) Flush();
        }
    }

    void Flush() {
        if (pending_.empty()) return;
        writer_(reinterpret_cast<const BYTE*>(pending_.data()), static_cast<DWORD>(pending_.size()),
                context_);
        pending_.clear();
    }

private:
    notesapi::XML_WRITE_FUNCTION writer_;
    void* context_;
    std::uint32_t chunkSize_;
    std::string pending_;
};

// Opens the note (the hooks see it), writes its DXL, closes it again.
STATUS ExportNote(DHANDLE database, const SimNote& note, ChunkedOutput& output) {
    DHANDLE handle = 0;
    if (const STATUS status = OpenNoteCopy(database, note, handle, State().dxlOpenHooks);
        status != 0) {
        return status;
    }
    const std::string document =
        DxlDocument(note.id, FindOpenNote(handle, "ExportIdTableAsDxl")->note.items);
    CloseNoteCopy(handle);
    output.Append(document);
    return 0;
}

}  // namespace
}  // namespace notessim

using namespace notessim;

STATUS LNPUBLIC DXLCreateExporter(notesapi::DXLEXPORTHANDLE* retExporter) try {
    SIM_FAULT_POINT("CreateDxlExporter");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    *retExporter = RegisterHandle(HandleKind::exporter, std::make_unique<DxlExporterObject>());
    return 0;
} catch (...) {
    return CaughtException("DXLCreateExporter");
}

STATUS LNPUBLIC DXLExportIDTable(notesapi::DXLEXPORTHANDLE exporter,
                                 notesapi::XML_WRITE_FUNCTION writer, notesapi::DBHANDLE database,
                                 DHANDLE idTable, void* action) try {
    SIM_FAULT_POINT("ExportIdTableAsDxl");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const auto* exporterObject =
        FindHandleAs<DxlExporterObject>(HandleKind::exporter, exporter, "ExportIdTableAsDxl");
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "ExportIdTableAsDxl");
    const IdTableObject* ids = FindIdTable(idTable, "ExportIdTableAsDxl");
    if (exporterObject == nullptr || opened == nullptr || ids == nullptr || writer == nullptr) {
        return kStatusInvalidHandle;
    }
    // Copies: the callbacks may do anything with the handles.
    const std::shared_ptr<const SimDatabase> data = opened->database;
    const std::string filePath = opened->filePath;
    const std::vector<NOTEID> noteIds(ids->ids.begin(), ids->ids.end());

    ChunkedOutput output(writer, action, State().dxlChunk);
    output.Append(DxlDatabaseStart(*data, filePath));
    for (const NOTEID id : noteIds) {
        const SimNote* note = data->FindNote(id);
        if (note == nullptr) return kStatusNoteNotFound;
        if (const STATUS status = ExportNote(database, *note, output); status != 0) {
            return status;
        }
    }
    output.Append(DxlDatabaseEnd());
    output.Flush();
    return 0;
} catch (...) {
    return CaughtException("DXLExportIDTable");
}

void LNPUBLIC DXLDeleteExporter(notesapi::DXLEXPORTHANDLE exporter) try {
    Release("DXLDeleteExporter", HandleKind::exporter, exporter, "DeleteDxlExporter");
} catch (...) {
    CaughtException("DXLDeleteExporter");
}
