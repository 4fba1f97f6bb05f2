// A learner's sync settings: what is kept on disk, and which server
// addresses may carry the password.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gbktext.h"
#include "core/syncsettings.h"

TEST(SyncSettings, ReadsBackWhatItWrites) {
    SyncSettings settings;
    settings.address = "https://dav.jianguoyun.com/dav/";
    settings.account = "me@example.com";
    settings.enabled = true;
    settings.learnerId = "0123456789abcdef0123456789abcdef";
    settings.lastTime = "2026-12-10 14:05";
    settings.lastResult = Gbk("同步完成\r\n第二行");
    const SyncSettings back = ParseSyncSettings(FormatSyncSettings(settings));
    EXPECT_EQ(back.address, settings.address);
    EXPECT_EQ(back.account, settings.account);
    EXPECT_TRUE(back.enabled);
    EXPECT_EQ(back.learnerId, settings.learnerId);
    EXPECT_EQ(back.lastTime, settings.lastTime);
    EXPECT_EQ(back.lastResult, Gbk("同步完成  第二行")) << "one line each";
    EXPECT_EQ(FormatSyncSettings(settings).find("password"), std::string::npos);

    const SyncSettings empty = ParseSyncSettings("garbage\nenabled=yes\n");
    EXPECT_FALSE(empty.enabled);
    EXPECT_TRUE(empty.address.empty());
}

TEST(SyncSettings, PlainHttpOnlyToThisComputer) {
    struct Case {
        const char* address;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"https://dav.jianguoyun.com/dav/", true},
        {"https://cloud.example.org/remote.php/dav/files/me/", true},
        {"HTTPS://Example.org:8443/dav", true},
        {"http://localhost:8080/dav/", true},
        {"http://127.0.0.1:5000/dav/", true},
        {"http://127.10.20.30/dav/", true},
        {"http://[::1]:8080/dav/", true},
        {"http://dav.jianguoyun.com/dav/", false},
        {"http://127.0.0.1.evil.example/dav/", false},
        {"http://128.0.0.1/dav/", false},
        {"http://localhost.example.com/", false},
        {"http://user@192.168.1.2/dav/", false},
        {"ftp://example.org/", false},
        {"dav.jianguoyun.com/dav/", false},
        {"https:///dav/", false},
        {"https://exa mple.org/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const std::string message = CheckSyncAddress(c.address);
        EXPECT_EQ(message.empty(), c.accepted) << Utf8(message);
    }
}

TEST(SyncSettings, BaseAddressEndsInOneSlash) {
    EXPECT_EQ(SyncBaseAddress("https://a.example/dav"), "https://a.example/dav/");
    EXPECT_EQ(SyncBaseAddress(" https://a.example/dav// "), "https://a.example/dav/");
}
