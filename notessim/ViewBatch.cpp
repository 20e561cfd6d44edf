#include "notessim/ViewBatch.h"

#include "notessim/ItemTable.h"

namespace notessim {
namespace {

std::string EntrySummary(const SimViewEntry& entry, const SimDatabase& data) {
    if ((entry.id & notesapi::NOTEID_CATEGORY) != 0) {
        const SimItem category{"$Category", notesapi::TYPE_TEXT, entry.category};
        return BuildItemTable({&category});
    }
    std::vector<const SimItem*> items;
    if (const SimNote* note = data.FindNote(entry.id)) {
        for (const SimItem& item : note->items) items.push_back(&item);
    }
    return BuildItemTable(items);
}

std::string EncodeEntry(const SimViewEntry& entry, const SimDatabase& data, std::uint32_t mask) {
    std::string bytes;
    if ((mask & kReadMaskNoteId) != 0) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((entry.id >> shift) & 0xFF);
        }
    }
    if ((mask & kReadMaskSummary) != 0) bytes += EntrySummary(entry, data);
    return bytes;
}

}  // namespace

ViewBatch BuildViewBatch(const SimView& view, const SimDatabase& data, std::size_t first,
                         std::uint32_t maxEntries, std::uint32_t mask) {
    ViewBatch batch;
    for (std::size_t index = first; index < view.entries.size() && batch.count < maxEntries;
         ++index) {
        const std::string entry = EncodeEntry(view.entries[index], data, mask);
        if (batch.count > 0 && batch.bytes.size() + entry.size() > kViewBufferLimit) break;
        batch.bytes += entry;
        ++batch.count;
    }
    return batch;
}

}  // namespace notessim
