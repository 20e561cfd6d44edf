// Values received from the library in wider storage than its documented width.
#include <gtest/gtest.h>

#include <cstring>

#include "notes/NotesCApi.h"
#include "notes/WidthBridge.h"

namespace {

using notes::binding::Deliver;
using notes::binding::Received;

TEST(WidthBridge, AValueOfTheDocumentedWidthIsDelivered) {
    Received<notesapi::DHANDLE> handle;
    *handle.Target() = 0xFEDCBA98u;
    std::uint32_t target = 0;
    EXPECT_EQ(Deliver(handle, &target, notes::kStatusInvalidHandle), 0);
    EXPECT_EQ(target, 0xFEDCBA98u);
    EXPECT_EQ(Deliver(handle, static_cast<std::uint32_t*>(nullptr)), 0);
}

// A library with 64-bit handles, or one that writes a BOOL where a WORD was asked for.
TEST(WidthBridge, AWiderValueIsRefusedAndNothingIsDelivered) {
    Received<notesapi::DHANDLE> handle;
    const std::uint64_t wide = 0x0000000100000002ull;
    std::memcpy(handle.Target(), &wide, sizeof wide);
    std::uint32_t target = 7;
    EXPECT_EQ(Deliver(handle, &target, notes::kStatusInvalidHandle), notes::kStatusInvalidHandle);
    EXPECT_EQ(target, 7u);

    Received<notesapi::HCOLLECTION> collection;
    const std::uint32_t asInt = 0x00010005u;
    std::memcpy(collection.Target(), &asInt, sizeof asInt);
    EXPECT_EQ(Deliver(collection, &target), notes::kStatusValueOutOfRange);
}

TEST(WidthBridge, NarrowParametersTakeOnlyValuesThatFit) {
    EXPECT_TRUE(notes::binding::FitsIn<notesapi::WORD>(std::uint32_t{0xFFFF}));
    EXPECT_FALSE(notes::binding::FitsIn<notesapi::WORD>(std::uint32_t{0x10000}));
}

}  // namespace
