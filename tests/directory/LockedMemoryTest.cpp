// What the library's lookups point into is checked against the locked memory to the byte.
#include "directory/LockedMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "notessim/Handles.h"
#include "tests/notessim/InMemoryEnvironment.h"

namespace {

// `bytes` past `data`, as an address: the library may point anywhere, also outside the memory.
const void* At(const unsigned char* data, std::intptr_t bytes) {
    return reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(data) + bytes);
}

// The look-alike rounds a buffer of 20 bytes up to 32, and OSMemGetSize says 32.
TEST(LockedMemory, HoldsWhatLiesInsideToTheLastByteAndNothingPast) {
    testsupport::StartInMemoryRuntime("", {});
    {
        const directory::LockedMemory memory(notessim::RegisterBuffer(std::string(20, 'x')));
        ASSERT_EQ(memory.status(), 0);
        ASSERT_EQ(memory.Size(), 32u);
        const unsigned char* data = memory.Data();
        EXPECT_TRUE(memory.Holds(data, 32));
        EXPECT_FALSE(memory.Holds(data, 33));
        EXPECT_TRUE(memory.Holds(At(data, 31), 1));
        EXPECT_FALSE(memory.Holds(At(data, 32), 1));
        EXPECT_TRUE(memory.Holds(At(data, 32), 0));
        EXPECT_FALSE(memory.Holds(At(data, 33), 0));
        EXPECT_FALSE(memory.Holds(At(data, -1), 1));
    }
    testsupport::StopInMemoryRuntime();
}

}  // namespace
