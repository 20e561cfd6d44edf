#include "directory/DirectoryViewReader.h"

#include <cstring>

#include "directory/LockedMemory.h"
#include "notes/NotesStatuses.h"
#include "platform/StopRequest.h"

namespace directory {
namespace {

constexpr std::uint16_t kNoteClassView = 8;
constexpr const char* kViewFlagPattern = "-G40n^";
constexpr std::uint32_t kAsManyAsFit = 0xFFFFFFFF;

// Entries lie back to back: a 32-bit note ID, then the summary, whose first 16-bit field is its
// own length.
void DeliverEntries(notes::MemoryHandle buffer, std::uint32_t count, const EntryWriter& writer,
                    tinyxml2::XMLPrinter& printer) {
    const LockedMemory entries(buffer);
    const unsigned char* at = entries.Data();
    if (at == nullptr) return;
    for (std::uint32_t i = 0; i < count; ++i) {
        notes::NoteId noteId = 0;
        std::memcpy(&noteId, at, sizeof noteId);
        const unsigned char* summary = at + sizeof noteId;
        std::uint16_t summaryLength = 0;
        std::memcpy(&summaryLength, summary, sizeof summaryLength);
        if ((noteId & notes::kCategoryNoteIdFlag) == 0) writer(printer, summary);
        at = summary + summaryLength;
    }
}

}  // namespace

notes::NotesStatus WalkDirectoryView(const char* viewName, EntryWriter writer,
                                     tinyxml2::XMLPrinter& printer, notes::DatabaseHandle database) {
    notes::NoteId viewId = 0;
    if (const auto status = notes::FindView(database, viewName, kNoteClassView, kViewFlagPattern,
                                            &viewId, 0);
        status != 0) {
        return status;
    }
    notes::CollectionOwner collection;
    if (const auto status = notes::OpenViewCollection(database, database, viewId, 0, 0,
                                                      collection.Receive(), nullptr, nullptr,
                                                      nullptr, nullptr);
        status != 0) {
        return status;
    }
    notes::CollectionPosition position{};
    position.level = 0;
    position.tumbler[0] = 0;
    while (true) {
        notes::MemoryHandle buffer = 0;
        std::uint32_t count = 0;
        std::uint16_t signal = 0;
        if (const auto status = notes::ReadViewEntries(
                collection.Get(), &position, notes::kNavigateNext, 1, notes::kNavigateNext,
                kAsManyAsFit, notes::kReadMaskNoteIdAndSummary, &buffer, nullptr, nullptr, &count,
                &signal);
            status != 0) {
            return status;
        }
        if (buffer != 0) DeliverEntries(buffer, count, writer, printer);
        if ((signal & notes::kSignalMoreToDo) == 0) return 0;
        if (platform::StopRequested()) return notes::kStatusStopped;
    }
}

}  // namespace directory
