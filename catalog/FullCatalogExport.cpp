#include "catalog/FullCatalogExport.h"

#include <string_view>

#include "catalog/DxlExportBody.h"
#include "catalog/DxlFileWriter.h"
#include "catalog/NoteSelection.h"
#include "driver/LibraryName.h"
#include "driver/RunSettings.h"
#include "notes/NotesHandleOwner.h"

namespace catalog {
namespace {

constexpr std::string_view kCatalogFormula = "SELECT FORM=\"cDb\" | Form=\"cUser\"";
constexpr std::string_view kAnonMapFormula = "SELECT FORM=\"anonMap\"";

}  // namespace

notes::NotesStatus ExportFullCatalog() {
    notes::DatabaseOwner database;
    if (const auto status = driver::OpenServerDatabase(driver::Settings().server,
                                                       driver::Settings().databasePath, database);
        status != 0) {
        return status;
    }
    DxlExportTools tools;
    if (const auto status = PrepareDxlExport(tools); status != 0) return status;

    NoteSelection catalogNotes;
    if (const auto status = CollectNotes(database.Get(), kCatalogFormula, catalogNotes);
        status != 0) {
        return status;
    }
    catalogNotes.formula.Reset();
    if (const auto status = WriteDxlFile(
            MakeDxlExportBody(tools.exporter.Get(), database.Get(), catalogNotes.idTable.Get()),
            u"catalog.dxl");
        status != 0) {
        return status;
    }

    NoteSelection anonMapNotes;
    if (const auto status = CollectNotes(database.Get(), kAnonMapFormula, anonMapNotes);
        status != 0) {
        return status;
    }
    anonMapNotes.formula.Reset();
    // No anonymity map, or an ambiguous one, is not exported and not reported.
    // Released in reverse order of declaration: second and first ID table, hook, exporter,
    // database.
    if (notes::CountIdTableEntries(anonMapNotes.idTable.Get()) != 1) return 0;
    return WriteDxlFile(
        MakeDxlExportBody(tools.exporter.Get(), database.Get(), anonMapNotes.idTable.Get()),
        u"anonMap.dxl");
}

}  // namespace catalog
