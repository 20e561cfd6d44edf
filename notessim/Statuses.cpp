#include "notessim/Statuses.h"

#include <array>
#include <cstdio>
#include <utility>

namespace notessim {
namespace {

// The texts the real library holds for the statuses the runtime returns, or that a program may
// meet from the functions it models: each as the toolkit's headers give it in the errortext (or
// stringtext, apitext) beside its #define. Statuses with only an internaltext, which the library
// does not store (ERR_EM_CONTINUE 725, ERR_COLLECTION_NOT_CREATED 0x030B, ERR_NO_MORE_MEMBERS
// 0x0311), are not here: OSLoadString finds no text for them.
constexpr std::array<std::pair<STATUS, std::string_view>, 62> kTexts = {{
    // oserr.h
    {0x0101, "Unknown OS error"},                                         // ERR_UNKNOWN
    {0x0102, "Cannot write or create file (file or disk is read-only)"},  // ERR_PROTECTED
    {kStatusFileNotFound, "File does not exist"},                         // ERR_NOEXIST
    {kStatusFileExists, "File already exists"},                           // ERR_EXISTS
    {0x0106, "Insufficient disk space"},                                  // ERR_DISK
    {kStatusOutOfMemory, "Insufficient memory."},                         // ERR_MEMORY
    {kStatusCannotCreateFile, "File cannot be created"},                  // ERR_CREATE
    {kStatusIoError, "I/O data error"},                                   // ERR_IOERROR
    {kStatusLibraryNotLoaded,                                             // ERR_LIBLOAD2
     "Program library not loaded. Required .DLL missing or could not load."},
    {kStatusStopped, "Operation stopped at your request"},                // ERR_CANCEL
    {0x01A0, "Too many concurrent users of the Notes API package."},      // ERR_TOO_MANY_PROCESSES
    {kStatusIniNotFound,                                                  // ERR_NO_NOTESINI
     "The NOTES.INI file cannot be found on the search path (PATH)"},
#ifdef _WIN32
    {kStatusPathTooLong,                                                  // ERR_PATH_NAME_TOO_LONG
     "The server and file name specified exceeds 100 characters."},
#else
    {kStatusPathTooLong, "The server and file name specified exceeds 256 characters."},
#endif
    // nsferr.h
    {kStatusNotADatabase, "File is not a database"},                      // ERR_NOT_NSF
    {kStatusBadEnvironmentFile,                                           // ERR_STRUCT
     "The program cannot interpret this file due to an invalid structure"},
    {0x0211, "Invalid formula format"},                                   // ERR_FORMULA
    {kStatusNotInitialized,                                               // ERR_NOTES_NOT_INITIALIZED
     "Notes needs to be initialized before calling into NSF"},
    {0x0219, "Invalid NSF version"},                                      // ERR_NSF_VERSION
    {0x021A, "Search flags are incompatible"},                            // ERR_SEARCH_FLAGS
    {0x0222, "Note item not found"},                                      // ERR_ITEM_NOT_FOUND
    {kStatusViewNoteDeleted, "Document has been deleted"},                // ERR_NOTE_DELETED
    {kStatusNoteNotFound, "Invalid or nonexistent document"},             // ERR_INVALID_NOTE
    {0x0231,                                                              // ERR_SUMMARY_TOO_BIG
     "Field is too large (32K) or View's column & selection formulas are too large"},
    {kStatusNoteUnreadable, "You are not authorized to perform that operation"},  // ERR_NOACCESS
    {kStatusInvalidHandle, "Object handle is invalid"},                   // ERR_HDL_DEALLOC
    {kStatusUnsupportedEvent, "Extension number out of bounds"},          // ERR_EM_ILLEGAL
    {kStatusUnsupportedHook, "Extension registration flags illegal"},     // ERR_EM_ILLEGALFLAGS
    {0x02D3, "Extension Manager has maximum addins already"},             // ERR_EM_TOOMANYADDINS
    {0x038A,                                                              // ERR_EM_MAX_EXTENSIONS
     "Extension Manager exceeded maximum number of Recursion IDs"},
    {kStatusFormulaSyntax, "Formula Error"},                              // ERR_FORMULA_COMPILATION
    {0x0542,                                                              // ERR_NONAMES
     "This view is obsolete and requires missing field list.  Please edit and re-save the view."},
    {0x056E,                                                              // ERR_COMPUTE_COMPILE_NOMEM
     "Compiled formula exceeds limit of 64K.  Reduce size of formula."},
    // niferr.h
    {0x0306, "Unsupported return flag(s)"},                               // ERR_UNSUPPORTED_FLAGS
    {0x0307, "Error looking up name in Domino Directory"},                // ERR_LOOKUP_ERROR
    {kStatusNoSuchNameSpace,                                              // ERR_NO_SUCH_NAMESPACE
     "Domino Directory does not contain a required view"},
    {kStatusNoNamesFile, "Domino Directory does not exist"},              // ERR_NO_NAMES_FILE
    {0x030D, "You are not authorized to access the view"},                // ERR_VIEW_NOACCESS
    {0x030F, "No more Domino Directory databases"},                       // ERR_NO_SUCH_NAMES_BOOK
    {kStatusNoSuchItem, "Specified item is not present"},                 // ERR_NO_SUCH_ITEM
    {kStatusUnsupportedType,                                              // ERR_UNSUPPORTED_TYPE
     "Unsupported datatype in Domino Directory document"},
    {0x031C, "Invalid collection data was detected."},                    // ERR_BAD_COLLECTION_DATA
    {0x0355,                                                              // ERR_NAMELOOKUP_TOO_BIG
     "NAMELookups are limited on this server to a size smaller than what would be returned.  "
     "See your Domino Administrator for more information."},
    // miscerr.h
    {kStatusViewNotFound, "Entry not found in index"},                    // ERR_NOT_FOUND
    {kStatusBufferTooSmall, "Output Buffer Overflow"},                    // ERR_BUFFER_OVERFLOW
    {0x040A, "Invalid International Format Specifier"},                   // ERR_IFMT
    {kStatusNameTooLong, "Name too long"},                                // ERR_NAME_LENGTH
    {kStatusValueTooLong, "Value too long"},                              // ERR_VALUE_LENGTH
    {0x042B, "Unrecognized number format specifier"},                     // ERR_UNKNOWN_NFMT
    {0x0448, "Invalid ID table"},                                         // ERR_IDTABLE_INVALID
    {0x0459, "Unable to extend an ID table - insufficient memory."},      // ERR_SPARE_FULL
    {kStatusUnsupportedArgument, "Invalid arguments"},                    // ERR_MISC_INVALID_ARGS
    {0x3D4F, "Error parsing Notes or LDAP Distinguished Name."},          // ERR_DN_PARSE
    // odserr.h
    {kStatusNotInList, "No such entry"},                                  // ERR_ODS_NO_SUCH_ENTRY
    // clerr.h (the text of every platform but the Mac)
    {kStatusServerUnreachable,                                            // ERR_SERVER_NOT_FOUND
     "Unable to find path to server. Check that your network connection is working. If you "
     "have a working connection, go to Preferences - Notes Ports and click Trace to discover "
     "where it breaks down."},
    {0x0807,                                                              // ERR_SERVER_NOT_RESPONDING
     "The server is not responding. The server may be down or you may be experiencing network "
     "problems. Contact your system administrator if this problem persists."},
    // bsafeerr.h
    {0x170F, "Buffer used to receive cryptographic output was too small"},  // ERR_BSAFE_TOOSMALL
    {0x1722,                                                              // ERR_BSAFE_SUBPROCESS
     "A sub-process cannot change to a new ID file or prompt for passwords."},
    {0x1728, "The prompt for password was aborted by user"},             // ERR_BSAFE_USER_ABORT
    {kStatusBadIdFile, "Your ID file has been corrupted, or is not an ID file."},  // ERR_BSAFE_INVUSERIDFILE
    {0x1755,                                                              // ERR_BSAFE_CORRUPTFILE
     "The specified ID file has been corrupted, or is not an ID file."},
    // secerr.h
    {kStatusWrongPassword,                                                // ERR_SECURE_BADPASSWORD
     "Wrong Password. (Passwords are case sensitive - be sure to use correct upper and lower "
     "case.)"},
    // regerr.h
    {kStatusNoMailServer, "No mail server or mail database name specified"},  // ERR_REG_NO_MAIL_INFO
}};

std::vector<std::string>& DiagnosticList() {
    static std::vector<std::string> diagnostics;
    return diagnostics;
}

}  // namespace

std::string_view StatusText(STATUS status) {
    for (const auto& [code, text] : kTexts) {
        if (IsStatus(status, code)) return text;
    }
    return {};
}

STATUS Diagnose(STATUS status, std::string detail) {
    char number[8];
    std::snprintf(number, sizeof number, "0x%04X", static_cast<unsigned>(status));
    DiagnosticList().push_back(std::string(number) + ": " + detail);
    return status;
}

std::vector<std::string> Diagnostics() { return DiagnosticList(); }

void ResetDiagnostics() { DiagnosticList().clear(); }

}  // namespace notessim
