#include "catalog/ServerCatalogExport.h"

#include <string>
#include <string_view>

#include "catalog/DxlExportBody.h"
#include "catalog/DxlFileWriter.h"
#include "catalog/NoteSelection.h"
#include "driver/LibraryName.h"
#include "driver/RunSettings.h"
#include "notes/NotesHandleOwner.h"

namespace catalog {
namespace {

constexpr std::string_view kFormulaStart =
    "SELECT Form=\"Notefile\" & @LowerCase(Server)=@LowerCase(@Name([CANONICALIZE];\"";
constexpr std::string_view kFormulaEnd = "\"))";
static_assert(kFormulaStart.size() == 77 && kFormulaEnd.size() == 3);

// The server part of the opened database's path ("server!!file"); all of it when it has no "!!".
// A failed query fails the export: an empty name would select no document at all.
notes::NotesStatus ServerNameFromPath(notes::DatabaseHandle database,
                                      driver::LibraryNameBuffer& buffer, std::string& serverName) {
    buffer[0] = '\0';
    if (const auto status = notes::GetDatabasePath(database, buffer.data(), nullptr); status != 0) {
        return status;
    }
    buffer.back() = '\0';
    const std::string_view path = buffer.data();
    serverName = path.substr(0, path.find("!!"));
    return 0;
}

}  // namespace

notes::NotesStatus ExportServerCatalog() {
    notes::DatabaseOwner database;
    if (const auto status =
            driver::OpenServerDatabase(driver::Settings().server, u"catalog.nsf", database);
        status != 0) {
        return status;
    }

    // The name as the library reports it for the opened database, inserted without escaping.
    driver::LibraryNameBuffer server{};
    std::string serverName;
    if (const auto status = ServerNameFromPath(database.Get(), server, serverName); status != 0) {
        return status;
    }
    const std::string formula = std::string(kFormulaStart) + serverName + std::string(kFormulaEnd);
    NoteSelection selection;
    if (const auto status = CollectNotes(database.Get(), formula, selection); status != 0) {
        return status;
    }
    DxlExportTools tools;
    if (const auto status = PrepareDxlExport(tools); status != 0) return status;

    // Released in reverse order of declaration: hook, exporter, ID table, compiled formula,
    // formula text, database.
    return WriteDxlFile(
        MakeDxlExportBody(tools.exporter.Get(), database.Get(), selection.idTable.Get()),
        u"catalog.dxl");
}

}  // namespace catalog
