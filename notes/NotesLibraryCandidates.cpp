#include <optional>

#include "notes/NotesLibrary.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SharedLibrary.h"

namespace notes::binding {
namespace {

#ifdef _WIN32
constexpr char16_t kLibraryName[] = u"nnotes.dll";
// The installation's own library by its full path before any search: the one the registry names
// is the one meant, whatever another folder holds.
constexpr bool kProgramDirectoryFirst = true;

// The folder of the Notes program that registers itself for OLE automation, as Notes' own
// documentation finds it. The folder also goes on PATH (last, so the system's own search order
// stays as it was), where the library finds the DLLs it loads itself.
std::optional<std::u16string> NotesProgramDirectory() {
    const auto classId = platform::ReadClassesRootText(u"Notes.NotesSession\\CLSID");
    if (!classId) return std::nullopt;
    std::optional<std::u16string> server;
    for (const char16_t* key : {u"\\LocalServer32", u"\\LocalServer"}) {
        server = platform::ReadClassesRootText(u"CLSID\\" + *classId + key);
        if (server) break;
    }
    if (!server) return std::nullopt;
    std::u16string command = *server;
    if (!command.empty() && command[0] == u'"') {
        command = command.substr(1, command.find(u'"', 1) - 1);
    }
    const std::size_t separator = command.find_last_of(u'\\');
    if (separator == std::u16string::npos) return std::nullopt;
    std::u16string folder = command.substr(0, separator);
    // A relative folder would be looked for from the working directory.
    if (!platform::IsAbsolutePath(folder)) return std::nullopt;
    const auto path = platform::ReadEnvironmentVariable(u"PATH");
    platform::WriteEnvironmentVariable(u"PATH", (path ? *path + u";" : u"") + folder);
    return folder + u"\\";
}
#else
constexpr char16_t kLibraryName[] = u"libnotes.so";
// The loader's search first: LD_LIBRARY_PATH must name the Domino program directory anyway.
constexpr bool kProgramDirectoryFirst = false;

// The Notes or Domino program directory, by convention held in Notes_ExecDirectory. A relative
// folder would be looked for from the working directory: no library is loaded from there.
std::optional<std::u16string> NotesProgramDirectory() {
    const auto folder = platform::ReadEnvironmentVariable(u"Notes_ExecDirectory");
    if (!folder || !platform::IsAbsolutePath(*folder)) return std::nullopt;
    return folder->back() == u'/' ? *folder : *folder + u"/";
}
#endif

}  // namespace

std::vector<std::u16string> NotesLibraryCandidates() {
    if (const auto named = platform::ReadEnvironmentVariable(u"DXL_NOTES_LIBRARY");
        named && !named->empty()) {
        return {*named};
    }
    std::vector<std::u16string> candidates = {kLibraryName};
    if (const auto folder = NotesProgramDirectory()) {
        candidates.insert(kProgramDirectoryFirst ? candidates.begin() : candidates.end(),
                          *folder + kLibraryName);
    }
    return candidates;
}

}  // namespace notes::binding
