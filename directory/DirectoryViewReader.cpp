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
// own length, its header included.
struct Entry {
    notes::NoteId noteId = 0;
    const unsigned char* summary = nullptr;
    std::uint16_t summaryLength = 0;
};

// The entry at `offset`, when it lies wholly inside the buffer's `size` bytes.
bool ReadEntry(const unsigned char* buffer, std::uint32_t size, std::uint32_t offset,
               Entry& entry) {
    if (size - offset < sizeof entry.noteId + notes::kItemTableHeaderSize) return false;
    std::memcpy(&entry.noteId, buffer + offset, sizeof entry.noteId);
    entry.summary = buffer + offset + sizeof entry.noteId;
    std::memcpy(&entry.summaryLength, entry.summary, sizeof entry.summaryLength);
    return entry.summaryLength >= notes::kItemTableHeaderSize &&
           entry.summaryLength <= size - offset - sizeof entry.noteId;
}

// Every one of the `count` entries the library reported must lie inside the buffer it handed
// over; otherwise nothing of the batch is delivered and the read fails.
notes::NotesStatus DeliverEntries(notes::MemoryHandle buffer, std::uint32_t count,
                                  const EntryWriter& writer, tinyxml2::XMLPrinter& printer) {
    const LockedMemory entries(buffer);
    if (entries.status() != 0) return entries.status();
    std::uint32_t offset = 0;
    Entry entry;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!ReadEntry(entries.Data(), entries.Size(), offset, entry)) {
            return notes::kStatusBadCollectionData;
        }
        offset += static_cast<std::uint32_t>(sizeof entry.noteId) + entry.summaryLength;
    }
    offset = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        ReadEntry(entries.Data(), entries.Size(), offset, entry);
        if ((entry.noteId & notes::kCategoryNoteIdFlag) == 0) writer(printer, entry.summary);
        offset += static_cast<std::uint32_t>(sizeof entry.noteId) + entry.summaryLength;
    }
    return 0;
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
        const notes::CollectionPosition before = position;
        if (const auto status = notes::ReadViewEntries(
                collection.Get(), &position, notes::kNavigateNext, 1, notes::kNavigateNext,
                kAsManyAsFit, notes::kReadMaskNoteIdAndSummary, &buffer, nullptr, nullptr, &count,
                &signal);
            status != 0) {
            return status;
        }
        if (buffer != 0) {
            if (const auto status = DeliverEntries(buffer, count, writer, printer); status != 0) {
                return status;
            }
        }
        if ((signal & notes::kSignalMoreToDo) == 0) return 0;
        // More to read, but nothing read or the position where it was: the next batch would be
        // this one again, for ever.
        if (buffer == 0 || count == 0 || std::memcmp(&before, &position, sizeof position) == 0) {
            return notes::kStatusBadCollectionData;
        }
        if (platform::StopRequested()) return notes::kStatusStopped;
    }
}

}  // namespace directory
