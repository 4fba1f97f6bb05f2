// File-system failures are told in Chinese, with the system's code, also
// where the learner meets them: a file name too long to save.

#include "core/systemerror.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/gbktext.h"
#include "core/safewrite.h"
#include "support/temp_folder.h"

namespace {

TEST(SystemErrorTest, FailuresAreSaidInChineseWithTheirCode) {
    struct Case {
        std::errc error;
        const char* reason;
    };
    const Case cases[] = {
        {std::errc::filename_too_long, "文件名太长"},
        {std::errc::no_space_on_device, "磁盘空间不足"},
        {std::errc::permission_denied, "没有访问权限"},
        {std::errc::no_such_file_or_directory, "文件或文件夹不存在"},
        {std::errc::not_a_directory, "路径中有一部分不是文件夹"},
        {std::errc::protocol_error, "系统错误"},  // rare: no text of its own, still Chinese
    };
    for (const Case& c : cases) {
        const std::error_code error = std::make_error_code(c.error);
        EXPECT_EQ(Utf8(SystemErrorText(error)),
                  std::string(c.reason) + "（系统错误 " + std::to_string(error.value()) + "）");
    }
}

TEST(SystemErrorTest, ASaveUnderAFileNameTooLongSaysSoInChinese) {
    TempFolder folder;
    const std::filesystem::path target = folder.path() / (std::string(300, 'x') + ".lx");
    const SaveResult result = SafeWriteFile(target, "text");
    ASSERT_FALSE(result);
    const std::string message = Utf8(result.Message());
    EXPECT_NE(message.find("文件名太长"), std::string::npos) << message;
    EXPECT_EQ(message.find("File name too long"), std::string::npos) << message;
}

}  // namespace
