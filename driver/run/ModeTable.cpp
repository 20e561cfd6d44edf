#include "driver/run/ModeTable.h"

#include <array>

#include "catalog/FullCatalogExport.h"
#include "catalog/ServerCatalogExport.h"
#include "directory/DirectoryExport.h"
#include "directory/ServerListExport.h"
#include "logscan/ActivityLogExport.h"

namespace driver {

std::span<const ModeEntry> Modes() {
    static const std::array<ModeEntry, 5> modes = {{
        {&RunMode::servers, directory::ExportServerList, nullptr, u"Unable to read servers (%s)",
         u"Unable to open output file"},
        {&RunMode::catalog, nullptr, catalog::ExportServerCatalog, u"Unable to read catalog (%s)",
         {}},
        {&RunMode::logscan, logscan::ExportActivityLog, nullptr,
         u"Error accessing activity stream (%s)", u"Unable to create output file"},
        {&RunMode::brenvik, nullptr, catalog::ExportFullCatalog, u"Unable to read catalog (%s)",
         {}},
        {&RunMode::nab, nullptr, directory::ExportDirectory, u"Unable to read NAB (%s)", {}},
    }};
    return modes;
}

}  // namespace driver
