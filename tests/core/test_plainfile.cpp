#include <gtest/gtest.h>

#include <filesystem>

#include "core/plainfile.h"
#include "tests/core/temp_folder.h"

TEST(WritePlainFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempFolder dir;
    const auto file = dir / "report.txt";
    TempFolder::WriteBytes(file, "old text that is longer\r\n");
    ASSERT_TRUE(WritePlainFile(file, "new\r\n"));
    EXPECT_EQ(TempFolder::ReadBytes(file), "new\r\n");
    ASSERT_TRUE(WritePlainFile(dir / "fresh.txt", ""));
    EXPECT_TRUE(std::filesystem::exists(dir / "fresh.txt"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(WritePlainFile, FailureLeavesTheOldFileAlone) {
    TempFolder dir;
    EXPECT_FALSE(WritePlainFile(dir / "missing" / "report.txt", "x"));
    // A folder where the file should be: nothing written, the folder stays.
    std::filesystem::create_directories(dir / "taken");
    TempFolder::WriteBytes(dir / "taken" / "inside.txt", "keep");
    EXPECT_FALSE(WritePlainFile(dir / "taken", "x"));
    EXPECT_EQ(TempFolder::ReadBytes(dir / "taken" / "inside.txt"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.tmp"));
}
