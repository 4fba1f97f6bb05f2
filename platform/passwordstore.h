#pragma once
// Where the sync password is kept: the desktop's key store through
// QtKeychain (Secret Service on Linux, the credential store on Windows,
// the keychain on macOS). Where no key store answers, an owner-only file
// (permissions 0600) in the user's own configuration folder, outside the
// program folder, so it is never in init.ini, a user folder or a backup.
//
// Each call waits for the key store in a local event loop (the window
// keeps painting) with a time limit.

#include <QString>

struct StoredPassword {
    QString password;
    bool inKeyStore = false;  // false: in the owner-only file (or nowhere)
    bool found = false;
};

// `key` names the password, e.g. account + "@" + server address.
StoredPassword ReadSyncPassword(const QString& key);
// True when it went to the key store, false when to the owner-only file;
// `saved` says whether it was kept at all.
bool StoreSyncPassword(const QString& key, const QString& password, bool* saved = nullptr);

// The owner-only file used when no key store answers.
QString PasswordFallbackFile();
