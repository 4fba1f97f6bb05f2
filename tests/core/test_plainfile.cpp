#include <gtest/gtest.h>

#include <filesystem>

#include "core/safewrite.h"
#include "support/temp_folder.h"

TEST(SafeWritePlainFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempFolder dir;
    const auto file = dir / "report.txt";
    TempFolder::WriteBytes(file, "old text that is longer\r\n");
    ASSERT_TRUE(SafeWriteFile(file, "new\r\n"));
    EXPECT_EQ(TempFolder::ReadBytes(file), "new\r\n");
    ASSERT_TRUE(SafeWriteFile(dir / "fresh.txt", ""));
    EXPECT_TRUE(std::filesystem::exists(dir / "fresh.txt"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);
}
