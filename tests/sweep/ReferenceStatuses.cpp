// The statuses the sweep injects, per operation: those the reference pages of its C function name
// (Func/<name>), else, marked "inferred", statuses whose header text ties them to that function
// or its package. Each with the library's text as the toolkit's header gives it (null where the
// header has only an internal text, which the library does not store).
#include <map>

#include "tests/sweep/FaultSweep.h"

namespace sweep {

const std::vector<InjectedStatus>& StatusesOf(const std::string& operation) {
    static const std::map<std::string, std::vector<InjectedStatus>> statuses = {
        // NotesInitExtended: none named; inferred ERR_NO_NOTESINI, ERR_TOO_MANY_PROCESSES.
        {"InitializeNotes", {{421, "The NOTES.INI file cannot be found on the search path (PATH)"},
                             {0x01A0, "Too many concurrent users of the Notes API package."}}},
        // SECKFMSwitchToIDFile: ERR_NOEXIST, ERR_BSAFE_TOOSMALL, ERR_BSAFE_SUBPROCESS, and for
        // ERR_BSAFE_BADPASSWORD (in no header) ERR_SECURE_BADPASSWORD.
        {"SwitchToIdFile",
         {{259, "File does not exist"},
          {0x170F, "Buffer used to receive cryptographic output was too small"},
          {0x1722, "A sub-process cannot change to a new ID file or prompt for passwords."},
          {0x1908, "Wrong Password. (Passwords are case sensitive - be sure to use correct "
                   "upper and lower case.)"}}},
        // NSFDbOpen: ERR_NOT_NSF, ERR_NSF_VERSION, ERR_BSAFE_USER_ABORT; and ERR_NOEXIST,
        // ERR_SERVER_NOT_FOUND.
        {"OpenDatabase",
         {{0x0201, "File is not a database"},
          {0x0219, "Invalid NSF version"},
          {0x1728, "The prompt for password was aborted by user"},
          {259, "File does not exist"},
          {0x0803, "Unable to find path to server. Check that your network connection is "
                   "working. If you have a working connection, go to Preferences - Notes Ports "
                   "and click Trace to discover where it breaks down."}}},
        // NSFDbPathGet: none named; inferred ERR_HDL_DEALLOC.
        {"GetDatabasePath", {{0x02B4, "Object handle is invalid"}}},
        // NSFFormulaCompile: ERR_FORMULA_COMPILATION; inferred ERR_COMPUTE_COMPILE_NOMEM.
        {"CompileFormula",
         {{0x0501, "Formula Error"},
          {0x056E, "Compiled formula exceeds limit of 64K.  Reduce size of formula."}}},
        // IDCreateTable: none named; inferred ERR_MEMORY.
        {"CreateIdTable", {{0x0107, "Insufficient memory."}}},
        // NSFSearch: none named; inferred ERR_FORMULA, ERR_SEARCH_FLAGS.
        {"SearchDatabase",
         {{0x0211, "Invalid formula format"}, {0x021A, "Search flags are incompatible"}}},
        // IDInsert: none named; inferred ERR_SPARE_FULL, ERR_IDTABLE_INVALID.
        {"InsertIdIntoTable",
         {{0x0459, "Unable to extend an ID table - insufficient memory."},
          {0x0448, "Invalid ID table"}}},
        // EMCreateRecursionID: ERR_ILLEGALEXT (in no header); inferred ERR_EM_MAX_EXTENSIONS.
        {"CreateHookRecursionId",
         {{0x038A, "Extension Manager exceeded maximum number of Recursion IDs"}}},
        // EMRegister: ERR_EM_ILLEGALFLAGS, ERR_EM_ILLEGAL; inferred ERR_EM_TOOMANYADDINS.
        {"RegisterNoteOpenHook",
         {{0x02D2, "Extension registration flags illegal"},
          {0x02D1, "Extension number out of bounds"},
          {0x02D3, "Extension Manager has maximum addins already"}}},
        // DXLCreateExporter, DXLExportIDTable: none named; inferred ERR_MEMORY, ERR_NOACCESS.
        {"CreateDxlExporter", {{0x0107, "Insufficient memory."}}},
        {"ExportIdTableAsDxl",
         {{0x0107, "Insufficient memory."},
          {0x0246, "You are not authorized to perform that operation"}}},
        // The note open inside the export (NSFNoteOpen): inferred ERR_INVALID_NOTE,
        // ERR_NOACCESS, ERR_NOTE_DELETED.
        {"OpenNote",
         {{0x0227, "Invalid or nonexistent document"},
          {0x0246, "You are not authorized to perform that operation"},
          {0x0225, "Document has been deleted"}}},
        // NSFItemSetText: none named; inferred ERR_SUMMARY_TOO_BIG.
        {"SetTextItem",
         {{0x0231, "Field is too large (32K) or View's column & selection formulas are too "
                   "large"}}},
        // NIFFindDesignNoteExt: ERR_NOT_FOUND.
        {"FindView", {{0x0404, "Entry not found in index"}}},
        // NIFOpenCollection: ERR_NOTE_DELETED, ERR_VIEW_NOACCESS, ERR_ITEM_NOT_FOUND,
        // ERR_COLLECTION_NOT_CREATED (internal: no text).
        {"OpenViewCollection",
         {{0x0225, "Document has been deleted"},
          {0x030D, "You are not authorized to access the view"},
          {0x0222, "Note item not found"},
          {0x030B, nullptr}}},
        // NIFReadEntries: ERR_UNSUPPORTED_FLAGS, ERR_NONAMES.
        {"ReadViewEntries",
         {{0x0306, "Unsupported return flag(s)"},
          {0x0542, "This view is obsolete and requires missing field list.  Please edit and "
                   "re-save the view."}}},
        // ListGetText: ERR_ODS_NO_SUCH_ENTRY.
        {"GetListEntryText", {{0x0605, "No such entry"}}},
        // NAMELookup2: ERR_NO_SUCH_NAMES_BOOK, ERR_NO_SUCH_NAMESPACE, ERR_NO_NAMES_FILE;
        // inferred ERR_NAMELOOKUP_TOO_BIG.
        {"LookupNames",
         {{0x030F, "No more Domino Directory databases"},
          {0x0309, "Domino Directory does not contain a required view"},
          {0x030A, "Domino Directory does not exist"},
          {0x0355, "NAMELookups are limited on this server to a size smaller than what would "
                   "be returned.  See your Domino Administrator for more information."}}},
        // NAMEGetTextItem2: ERR_NO_SUCH_ITEM, ERR_NO_MORE_MEMBERS (internal: no text), and for
        // ERR_UNSUPPORTED_DATATYPE (in no header) the directory's ERR_UNSUPPORTED_TYPE.
        {"GetMatchItemText",
         {{0x0310, "Specified item is not present"},
          {0x0311, nullptr},
          {0x0312, "Unsupported datatype in Domino Directory document"}}},
        // DNAbbreviate: none named; inferred ERR_DN_PARSE, ERR_NAME_LENGTH.
        {"ConvertName",
         {{0x3D4F, "Error parsing Notes or LDAP Distinguished Name."}, {0x040E, "Name too long"}}},
        // The activity stream's functions: none named, and no header of the log package's
        // errors to hand; inferred the file and memory errors of the OS package.
        {"OpenActivityStream", {{259, "File does not exist"}, {0x0107, "Insufficient memory."}}},
        {"ScanActivityStream", {{270, "I/O data error"}, {0x0107, "Insufficient memory."}}},
        {"DeliverActivityRecord", {{270, "I/O data error"}}},
        // ConvertFLOATToText: ERR_IFMT, and for ERR_NFMT (in no header) ERR_UNKNOWN_NFMT.
        {"NumberToText",
         {{0x040A, "Invalid International Format Specifier"},
          {0x042B, "Unrecognized number format specifier"}}},
    };
    static const std::vector<InjectedStatus> none;
    const auto found = statuses.find(operation);
    return found == statuses.end() ? none : found->second;
}

}  // namespace sweep
