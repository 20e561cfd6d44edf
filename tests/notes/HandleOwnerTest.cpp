// The owner of a Notes handle: Reset frees now, Release gives up without freeing, a move hands
// the handle on, and a handle is freed exactly once on every way out.
#include <gtest/gtest.h>

#include <vector>

#include "notes/NotesHandleOwner.h"

namespace {

std::vector<std::uint32_t> freed;
void Free(std::uint32_t handle) { freed.push_back(handle); }
using Owner = notes::HandleOwner<std::uint32_t, Free>;

TEST(HandleOwner, EachHandleIsFreedOnceAndAGivenUpOneNever) {
    freed.clear();
    {
        Owner kept;
        *kept.Receive() = 7;
        *kept.Receive() = 8;  // the one held before is freed first
        Owner given(9);
        EXPECT_EQ(given.Release(), 9u);
        given.Reset();  // nothing held: nothing freed
        Owner moved(std::move(kept));
        EXPECT_EQ(kept.Get(), 0u);
        Owner assigned(10);
        assigned = std::move(moved);  // 10 freed, 8 now held here
        EXPECT_EQ(assigned.Get(), 8u);
        EXPECT_EQ(freed, (std::vector<std::uint32_t>{7, 10}));
    }
    EXPECT_EQ(freed, (std::vector<std::uint32_t>{7, 10, 8}));
}

}  // namespace
