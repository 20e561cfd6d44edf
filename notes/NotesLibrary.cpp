#include "notes/NotesLibrary.h"

#include <algorithm>
#include <optional>

#include "notes/NotesPlatform.h"
#include "platform/Process.h"
#include "platform/SharedLibrary.h"
#include "platform/Text.h"

namespace notes::binding {
namespace {

NotesFunctions& Functions() {
    static NotesFunctions functions;
    return functions;
}

LibraryLoad& LoadResult() {
    static LibraryLoad result;
    return result;
}

#if DXL_NOTES_WIN32
// The bytes of arguments a __stdcall function takes, for its decorated name _Name@N.
template <typename Result, typename... Arguments>
constexpr std::size_t ArgumentBytes(Result(LNPUBLIC*)(Arguments...)) {
    return (((sizeof(Arguments) + 3) / 4 * 4) + ... + 0);
}
#endif

// Resolves `name` into `slot`; 32-bit Windows libraries may export the decorated name instead.
template <typename Function>
bool Resolve(void* library, const char* name, Function& slot, std::string& error) {
    slot = reinterpret_cast<Function>(platform::FindLibraryFunction(library, name, error));
#if DXL_NOTES_WIN32
    if (slot == nullptr) {
        const std::string decorated =
            "_" + std::string(name) + "@" + std::to_string(ArgumentBytes(slot));
        std::string ignored;
        slot = reinterpret_cast<Function>(
            platform::FindLibraryFunction(library, decorated.c_str(), ignored));
    }
#endif
    return slot != nullptr;
}

// Every function of the table, or the first one missing.
LibraryLoad ResolveAll(void* library, const std::string& file) {
    NotesFunctions resolved;
    std::string error;
#define DXL_NOTES_RESOLVE(name)                                                                  \
    if (!Resolve(library, #name, resolved.name, error)) {                                        \
        return {false, file, "Unable to load the Notes library " + file + ": function " #name   \
                                 " not found (" + error + ")"};                                  \
    }
    DXL_NOTES_FUNCTIONS(DXL_NOTES_RESOLVE)
#undef DXL_NOTES_RESOLVE
    Functions() = resolved;
    const std::string path =
        platform::LibraryFilePath(library, reinterpret_cast<void*>(resolved.NotesInitExtended));
    return {true, path.empty() ? file : path, ""};
}

// Notes finds the libraries it loads itself through PATH on Windows: the folder of the library
// loaded (named by DXL_NOTES_LIBRARY, found through the registry, or by the system) goes on it,
// last and once, before NotesInitExtended. On Linux the loader's path is fixed at the start of
// the process, so LD_LIBRARY_PATH must already name the folder (docs/real-notes.md).
void AddFolderToSearchPath([[maybe_unused]] const std::string& file) {
#ifdef _WIN32
    const std::u16string library = platform::Utf8ToUtf16(file);
    const std::size_t separator = library.find_last_of(u"\\/");
    if (separator == std::u16string::npos || separator == 0) return;
    const std::u16string folder = library.substr(0, separator);
    const std::u16string path = platform::ReadEnvironmentVariable(u"PATH").value_or(u"");
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(u';', start), path.size());
        if (path.compare(start, end - start, folder) == 0 && end - start == folder.size()) return;
        start = end + 1;
    }
    platform::WriteEnvironmentVariable(u"PATH", path.empty() ? folder : path + u";" + folder);
#endif
}

FailedCallReporter& Reporter() {
    static FailedCallReporter reporter = nullptr;
    return reporter;
}

}  // namespace

const NotesFunctions& Api() { return Functions(); }

notesapi::STATUS Checked(const char* function, notesapi::STATUS status) {
    if (status != 0 && Reporter() != nullptr) Reporter()(function, status);
    return status;
}

// Every function is resolved, or none.
bool NotesLibraryLoaded() { return Functions().NotesInitExtended != nullptr; }

void UseLinkedFunctions(const NotesFunctions& functions) {
    Functions() = functions;
    LoadResult() = {true, "", ""};
}

}  // namespace notes::binding

namespace notes {

LibraryLoad LoadNotesLibrary() {
    using namespace binding;
    LibraryLoad& result = LoadResult();
    if (NotesLibraryLoaded()) return result;
    // The failure reported: the first candidate that is there and could not be loaded says
    // more than the last one tried, which is often simply missing.
    struct Failure {
        std::string file;
        std::string reason;
    };
    std::optional<Failure> firstFound;
    Failure last = {"", "no library to try"};
    for (const std::u16string& candidate : NotesLibraryCandidates()) {
        // Bytes that are not UTF-8 name no file: read as U+FFFD they would name another one.
        if (!platform::IsExactText(candidate)) {
            last = {platform::Utf16ToUtf8(candidate), "the name is not valid UTF-8"};
            continue;
        }
        const platform::OpenedLibrary opened = platform::OpenSharedLibrary(candidate);
        if (opened.handle == nullptr) {
            last = {platform::Utf16ToUtf8(opened.file), opened.error};
            if (opened.found && !firstFound) firstFound = last;
            continue;
        }
        // A library that lacks a function is not a Notes library the program can use; another
        // candidate is not tried in its place.
        result = ResolveAll(opened.handle, platform::Utf16ToUtf8(opened.file));
        if (result.loaded) AddFolderToSearchPath(result.file);
        return result;
    }
    const Failure& failed = firstFound ? *firstFound : last;
    return {false, failed.file,
            "Unable to load the Notes library " + failed.file + " (" + failed.reason + ")"};
}

}  // namespace notes

namespace notes {

void ReportFailedCalls(FailedCallReporter reporter) { binding::Reporter() = reporter; }

}  // namespace notes
