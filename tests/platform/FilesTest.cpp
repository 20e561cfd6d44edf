#include "platform/Files.h"

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::u16string Wide(const std::filesystem::path& path) { return Utf8ToUtf16(path.string()); }

TEST(Files, DeletesTellAMissingFileFromAFailure) {
    testsupport::ScratchDir dir;
    WriteFile(dir / "f", "x");
    std::filesystem::create_directories(dir / "d" / "inner");
    EXPECT_EQ(DeleteFilePath(Wide(dir / "f")), DeleteResult::deleted);
    EXPECT_EQ(DeleteFilePath(Wide(dir / "f")), DeleteResult::notFound);
    EXPECT_EQ(DeleteFilePath(Wide(dir / "d")), DeleteResult::failed);
    EXPECT_EQ(QueryPathKind(Wide(dir / "d")), PathKind::directory);
    EXPECT_EQ(QueryPathKind(Wide(dir / "f")), PathKind::missing);
    WriteFile(dir / "f", "x");
    EXPECT_EQ(QueryPathKind(Wide(dir / "f")), PathKind::other);
}

}  // namespace
}  // namespace platform
