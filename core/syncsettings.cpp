#include "core/syncsettings.h"

#include <algorithm>
#include <cctype>

#include "core/gbktext.h"
#include "core/libraryformat.h"

namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Values are one line each.
std::string OneLine(std::string value) {
    std::replace(value.begin(), value.end(), '\r', ' ');
    std::replace(value.begin(), value.end(), '\n', ' ');
    return value;
}

bool IsLoopbackHost(const std::string& host) {
    if (host == "localhost" || host == "[::1]") return true;
    // 127.0.0.0/8: four decimal parts, the first 127.
    int parts = 0;
    size_t start = 0;
    while (start <= host.size()) {
        size_t dot = host.find('.', start);
        if (dot == std::string::npos) dot = host.size();
        const std::string part = host.substr(start, dot - start);
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
            std::stoi(part) > 255)
            return false;
        if (parts == 0 && part != "127") return false;
        ++parts;
        start = dot + 1;
    }
    return parts == 4;
}

}  // namespace

std::string FormatSyncSettings(const SyncSettings& settings) {
    std::string text;
    text += "address=" + OneLine(settings.address) + "\n";
    text += "account=" + OneLine(settings.account) + "\n";
    text += std::string("enabled=") + (settings.enabled ? "1" : "0") + "\n";
    text += "id=" + OneLine(settings.learnerId) + "\n";
    text += "lasttime=" + OneLine(settings.lastTime) + "\n";
    text += "lastresult=" + OneLine(settings.lastResult) + "\n";
    return text;
}

SyncSettings ParseSyncSettings(std::string_view text) {
    SyncSettings settings;
    for (const std::string& line : SplitLibraryLines(text)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "address")
            settings.address = value;
        else if (key == "account")
            settings.account = value;
        else if (key == "enabled")
            settings.enabled = value == "1";
        else if (key == "id")
            settings.learnerId = value;
        else if (key == "lasttime")
            settings.lastTime = value;
        else if (key == "lastresult")
            settings.lastResult = value;
    }
    return settings;
}

std::string CheckSyncAddress(const std::string& address) {
    const std::string trimmed = TrimGbk(address);
    const std::string lower = LowerAscii(trimmed);
    std::string rest;
    bool plain = false;
    if (lower.rfind("https://", 0) == 0) {
        rest = lower.substr(8);
    } else if (lower.rfind("http://", 0) == 0) {
        rest = lower.substr(7);
        plain = true;
    } else {
        return Gbk("服务器地址应以 https:// 开头，例如 https://dav.jianguoyun.com/dav/");
    }
    const size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    if (const size_t at = authority.rfind('@'); at != std::string::npos) authority = authority.substr(at + 1);
    std::string host = authority;
    if (!host.empty() && host[0] == '[') {
        const size_t close = host.find(']');
        host = close == std::string::npos ? std::string() : host.substr(0, close + 1);
    } else if (const size_t colon = host.find(':'); colon != std::string::npos) {
        host = host.substr(0, colon);
    }
    if (host.empty()) return Gbk("服务器地址里没有服务器名，例如 https://dav.jianguoyun.com/dav/");
    for (unsigned char c : trimmed)
        if (c <= ' ' || c >= 0x7F) return Gbk("服务器地址里不能有空格或汉字。");
    if (plain && !IsLoopbackHost(host)) {
        return Gbk("为保护密码，只有本机的服务器可用 http://，其他服务器请用 https:// 地址。");
    }
    return std::string();
}

std::string SyncBaseAddress(const std::string& address) {
    std::string base = TrimGbk(address);
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + "/";
}
