#pragma once
// What a failed file-system call says to the learner: the reason in
// Chinese (the system's own texts are English, and "File name too long"
// tells a Chinese learner nothing), with the code for whoever helps them.

#include <string>
#include <system_error>

// GBK, without a final full stop, e.g. "文件名太长（系统错误 36）".
std::string SystemErrorText(const std::error_code& error);
