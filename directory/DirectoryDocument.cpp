#include "directory/DirectoryDocument.h"

#include <tinyxml2.h>

#include "directory/DirectoryViewReader.h"
#include "directory/NameElements.h"

namespace directory {

notes::NotesStatus WriteDirectoryDocument(tinyxml2::XMLPrinter& printer,
                                          notes::DatabaseHandle database) {
    printer.PushDeclaration("xml version='1.0' encoding='utf-8'");
    printer.OpenElement("nab", false);
    printer.OpenElement("people", false);
    if (const auto status = WalkDirectoryView("($People)", WriteUser, printer, database);
        status != 0) {
        return status;
    }
    printer.CloseElement(false);
    printer.OpenElement("servers", false);
    if (const auto status = WalkDirectoryView("($Servers)", WriteServer, printer, database);
        status != 0) {
        return status;
    }
    printer.CloseElement(false);
    printer.CloseElement(false);
    return 0;
}

}  // namespace directory
