#include "core/systemerror.h"

#include "core/gbktext.h"

namespace {

const char* ReasonUtf8(const std::error_code& error) {
    const std::error_condition c = error.default_error_condition();
    if (c.category() != std::generic_category()) return nullptr;
    switch (static_cast<std::errc>(c.value())) {
        case std::errc::filename_too_long:
            return "文件名太长";
        case std::errc::no_space_on_device:
            return "磁盘空间不足";
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
            return "没有访问权限";
        case std::errc::no_such_file_or_directory:
            return "文件或文件夹不存在";
        case std::errc::read_only_file_system:
            return "磁盘是只读的";
        case std::errc::not_a_directory:
            return "路径中有一部分不是文件夹";
        case std::errc::is_a_directory:
            return "这是一个文件夹，不是文件";
        case std::errc::file_exists:
            return "同名的文件已经存在";
        case std::errc::directory_not_empty:
            return "文件夹不是空的";
        case std::errc::too_many_symbolic_link_levels:
            return "符号链接的层次太多";
        case std::errc::too_many_files_open:
        case std::errc::too_many_files_open_in_system:
            return "打开的文件太多";
        case std::errc::io_error:
            return "磁盘读写出错";
        case std::errc::device_or_resource_busy:
            return "文件正被占用";
        case std::errc::cross_device_link:
            return "不能在不同的磁盘之间移动";
        case std::errc::invalid_argument:
            return "文件名不合规则";
        case std::errc::file_too_large:
            return "文件太大";
        default:
            return nullptr;
    }
}

}  // namespace

std::string SystemErrorText(const std::error_code& error) {
    const char* reason = ReasonUtf8(error);
    return Gbk(reason ? reason : "系统错误") + Gbk("（系统错误 ") + std::to_string(error.value()) + Gbk("）");
}
