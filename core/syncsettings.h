#pragma once
// A learner's sync settings, kept in "sync.ini" in their user folder (it
// moves with the learner and stays on this computer): the server address,
// the account, whether syncing is on, the learner's id on the server (made
// once, so a renamed learner keeps their folder there) and how the last
// sync went. The password is never here; it lives in the key store.
//
// The file is plain GBK text, one "key=value" a line.

#include <optional>
#include <string>
#include <string_view>

struct SyncSettings {
    std::string address;  // as typed, e.g. "https://dav.jianguoyun.com/dav/"
    std::string account;
    bool enabled = false;
    std::string learnerId;   // empty until the first sync
    std::string lastTime;    // "2026-12-10 14:05", GBK; empty when never synced
    std::string lastResult;  // what the learner was told, GBK
};

std::string FormatSyncSettings(const SyncSettings& settings);
// Unknown keys are skipped; a broken line leaves the default.
SyncSettings ParseSyncSettings(std::string_view text);

// Why `address` cannot be used (GBK), or empty. Only https:// is accepted,
// except plain http:// to this computer (localhost, 127.0.0.0/8, ::1),
// where nobody can listen in.
std::string CheckSyncAddress(const std::string& address);

// The address with exactly one "/" at its end, so that paths append.
std::string SyncBaseAddress(const std::string& address);
