#include "SyncSettings.h"

#include <QTimer>
#include <qt6keychain/keychain.h>

namespace {

const QString kSection = QStringLiteral("sync");
const QString kService = QStringLiteral("zarvik-tasquel");
// A store that does not answer in time counts as none; a person may be
// typing the store's own password meanwhile.
constexpr int kStoreWaitMs = 60000;

SecretStore::Outcome outcomeOf(const QKeychain::Job* job) {
    switch (job->error()) {
    case QKeychain::NoError:
        return SecretStore::Outcome::Done;
    case QKeychain::EntryNotFound:
        return SecretStore::Outcome::NotFound;
    default:
        return SecretStore::Outcome::NoStore;
    }
}

// Runs the job; done gets its outcome once, or NoStore after the wait. The
// job lives until the store answers: the store's call still refers to it.
template <typename Done> void run(QKeychain::Job* job, QObject* owner, Done done) {
    job->setAutoDelete(false);
    job->setInsecureFallback(false); // never a file in clear
    auto answered = std::make_shared<bool>(false);
    auto* timer = new QTimer(job);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, owner, [job, answered, done] {
        if (*answered)
            return;
        *answered = true;
        done(job, SecretStore::Outcome::NoStore);
    });
    QObject::connect(job, &QKeychain::Job::finished, owner, [job, answered, done] {
        if (!*answered) {
            *answered = true;
            done(job, outcomeOf(job));
        }
        job->deleteLater();
    });
    timer->start(kStoreWaitMs);
    job->start();
}

} // namespace

SyncSettings SyncSettings::Read(const IniFile& ini) {
    SyncSettings s;
    s.address = ini.readString(kSection, QStringLiteral("address"), QString()).trimmed();
    s.user = ini.readString(kSection, QStringLiteral("user"), QString());
    const int minutes = ini.readInteger(kSection, QStringLiteral("interval"), DefaultInterval);
    s.interval = minutes >= 0 && minutes <= 24 * 60 ? minutes : DefaultInterval;
    s.allowPlain = ini.readBool(kSection, QStringLiteral("allowUnencrypted"), false);
    s.list = ini.readString(kSection, QStringLiteral("list"), QString()).trimmed();
    return s;
}

void SyncSettings::write(const IniFile& ini) const {
    ini.writeStrings(kSection, {{QStringLiteral("address"), address.trimmed()},
                                {QStringLiteral("user"), user},
                                {QStringLiteral("interval"), QString::number(interval)},
                                {QStringLiteral("allowUnencrypted"),
                                 allowPlain ? QStringLiteral("1") : QStringLiteral("0")},
                                {QStringLiteral("list"), list}});
}

void SecretStore::read(const QString& key, std::function<void(Outcome, QString)> done) {
    auto* job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(key);
    run(job, this, [done](QKeychain::Job* j, Outcome o) {
        done(o, o == Outcome::Done ? static_cast<QKeychain::ReadPasswordJob*>(j)->textData()
                                   : QString());
    });
}

void SecretStore::write(const QString& key, const QString& password,
                        std::function<void(Outcome)> done) {
    auto* job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(key);
    job->setTextData(password);
    run(job, this, [done](QKeychain::Job*, Outcome o) {
        if (done)
            done(o);
    });
}

void SecretStore::remove(const QString& key) {
    auto* job = new QKeychain::DeletePasswordJob(kService, this);
    job->setKey(key);
    run(job, this, [](QKeychain::Job*, Outcome) {});
}
