// The entry buffer of one ReadViewEntries batch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "notessim/Database.h"

namespace notessim {

// A batch stops before the buffer would pass this size (one entry always goes in), as the
// library's 64 KB view buffers do.
constexpr std::size_t kViewBufferLimit = 0xFFFF;

// Return-mask bits the runtime knows: the note ID and the summary of each entry.
constexpr std::uint32_t kReadMaskNoteId = 0x0001;
constexpr std::uint32_t kReadMaskSummary = 0x8000;

struct ViewBatch {
    std::string bytes;
    std::uint32_t count = 0;
};

// The entries of `view` from index `first` on, at most `maxEntries` of them: per entry the
// 32-bit note ID (category entries with the top bit set) and the summary ITEM_TABLE, as
// `mask` asks. A document's summary holds its note's items in note order (from `data`); a
// category's summary holds one text item "$Category".
ViewBatch BuildViewBatch(const SimView& view, const SimDatabase& data, std::size_t first,
                         std::uint32_t maxEntries, std::uint32_t mask);

}  // namespace notessim
