// The program folder the study window publishes for the core.

#include <gtest/gtest.h>

#include "core/programfolder.h"

namespace {

TEST(ProgramFolder, IsPublishedOnce) {
    SetProgramFolder("/opt/lx/");
    EXPECT_EQ(GetProgramFolder(), "/opt/lx/");
    SetProgramFolder("");
}

}  // namespace
