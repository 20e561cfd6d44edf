// The simulated runtime alone: starts, opens one database, closes it and ends. Its peak memory
// is what a mode's run over that database starts from, so that bench/run can tell the runtime's
// share of a run's peak from the tool's own.
//
//     LoadDatabase =notes.ini SERVER FILE      (SERVER "" for the local machine)
#include <cstdio>

#include "notes/NotesCApi.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: LoadDatabase =notes.ini SERVER FILE\n");
        return 2;
    }
    if (const notesapi::STATUS status = NotesInitExtended(2, argv); status != 0) {
        std::fprintf(stderr, "NotesInitExtended: %u\n", status);
        return 1;
    }
    char path[notesapi::MAXPATH] = {};
    notesapi::DBHANDLE database = 0;
    notesapi::STATUS status = OSPathNetConstruct(nullptr, argv[2], argv[3], path);
    if (status == 0) status = NSFDbOpen(path, &database);
    if (status == 0) status = NSFDbClose(database);
    NotesTerm();
    if (status != 0) std::fprintf(stderr, "NSFDbOpen %s: %u\n", path, status);
    return status == 0 ? 0 : 1;
}
