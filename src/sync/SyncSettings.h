#pragma once

#include "platform/IniFile.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The account in section "sync" of the settings file. The password is
// never there: it lives in the desktop's secret store.
struct SyncSettings {
    static constexpr int DefaultInterval = 15;
    QString address, user;
    int interval = DefaultInterval; // minutes between syncs; 0: only by hand
    bool allowPlain = false;        // http to another machine
    QString list; // the chosen task list's path on the server; empty: the first one found
    bool isSet() const { return !address.trimmed().isEmpty(); }
    // Another key of the secret store, and another record of the server.
    QString accountKey() const { return user + u'@' + address.trimmed(); }

    static SyncSettings Read(const IniFile& ini);
    void write(const IniFile& ini) const;
};

// The desktop's secret store (Secret Service, KWallet), asked without
// waiting; the answer comes to the callback. Where none answers, the
// callback says so and the caller keeps the password in memory only.
class SecretStore : public QObject {
    Q_OBJECT
public:
    explicit SecretStore(QObject* parent = nullptr) : QObject(parent) {}
    enum class Outcome { Done, NotFound, NoStore };
    void read(const QString& key, std::function<void(Outcome, QString password)> done);
    void write(const QString& key, const QString& password, std::function<void(Outcome)> done);
    void remove(const QString& key);
};

struct SyncAccount;

// A task list the server holds: its path there and the name it shows.
struct SyncTaskList {
    QString href, name;
};

// What the Options page reaches of the running program's sync.
struct SyncHooks {
    SecretStore* secrets = nullptr;
    // Finds the task lists for the account and says what it found.
    using TestDone = std::function<void(bool ok, QString text, std::vector<SyncTaskList> lists)>;
    std::function<void(const SyncAccount&, TestDone)> test;
    // After OK: the settings are written; the password is the one on the
    // page, or nothing when none was typed and none is known.
    std::function<void(const SyncSettings&, const std::optional<QString>& password)> changed;
    // The password this run knows for the account (typed at a prompt and
    // kept in memory when there is no secret store).
    std::function<std::optional<QString>(const SyncSettings&)> known;
    bool storeMissing = false; // no secret store answered in this run
};
