#include "platform/Files.h"

#include <gtest/gtest.h>

#include "tests/platform/WidePath.h"
#include "tests/support/TestSupport.h"

namespace platform {
namespace {

using platformtest::Wide;
using testsupport::ReadFile;
using testsupport::WriteFile;

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
