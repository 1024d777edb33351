#include "TmainFm.h"

#include "components/ZvStatusBar.h"
#include "core/SafetyCopies.h"
#include "gui/ImageList.h"
#include "gui/pU_Boxes.h"
#include "sync/SyncEngine.h"
#include "tasks/TzvTasksFrame.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QMenu>
#include <QTimer>

// Synchronizing with the account's server: by hand (F5), at the start,
// every few minutes and soon after a change here. Nothing of it exists
// while no account is set.

namespace {
constexpr int kAfterChangeMs = 3000; // edits in a row go together
constexpr int kStartDelayMs = 1500;  // after the first load
constexpr int kWatchMs = 1000;
constexpr qint64 kStuckSeconds = 20; // F5 then offers to stop it
} // namespace

void TmainFm::CreateSync() {
    Action_Sync = MakeAction(this, "Action_Sync", tr("S&ynchronize"),
                             tr("Synchronize the tasks with the server"));
    Action_Sync->setShortcut(QKeySequence(Qt::Key_F5));
    connect(Action_Sync, &QAction::triggered, this, [this] { StartSync(true); });
    m_context.actions.sync = Action_Sync;
    m_secrets = new SecretStore(this);
    m_sync = new SyncEngine(m_db, m_context.folder + QStringLiteral("Backups"),
                            m_context.fileVersion(), this);
    // Commands hold rows while they ask; the server's changes wait for the
    // answer, as they wait for an edit in place.
    m_sync->mayChangeHere = [this] {
        return !QuestionOpen() && (!m_tasksFrame || !m_tasksFrame->editingNode());
    };
    m_sync->confirmDeletions = [](int n, int total) {
        return AskBox(tr("The server no longer has %1 of the %2 tasks here. Delete them here "
                         "too?\n\nCancel keeps them and sends them back to the server.")
                          .arg(n)
                          .arg(total)) == IDOK;
    };
    // Asked on a sync by hand only: not every few minutes.
    m_sync->confirmRemake = [this](const QString& address) {
        return m_syncByHand &&
               AskBox(tr("The task list %1 was deleted on the server.\n\nMake it again there and "
                         "send the tasks here to it?")
                          .arg(address)) == IDOK;
    };
    // The tasks here came from another list than the one now chosen.
    m_sync->confirmListChange = [this](const QString& was, const QString& now) {
        using Change = SyncEngine::ListChange;
        if (!m_syncByHand && m_syncListDeclined == now)
            return Change::Cancel; // asked once; F5 asks again
        const int answer = AskChoice(
            tr("The tasks here were synchronized with the task list %1; the account now names "
               "%2.\n\nSend the tasks here to %2 as well, or replace them by the tasks of %2? "
               "Before they are replaced, a safety copy of the database is written into "
               "Backups.")
                .arg(was, now),
            tr("&Send them there"), tr("&Replace them"));
        if (answer == IDCANCEL) {
            m_syncListDeclined = now;
            return Change::Cancel;
        }
        if (answer == IDOK)
            return Change::Send;
        bool copied = false;
        Guarded([&] {
            SafetyCopies::Write(m_db, m_context.folder, m_context.fileVersion(),
                                Clock::CurrentDateTime());
            copied = true;
        });
        return copied ? Change::Replace : Change::Cancel;
    };
    connect(m_sync, &SyncEngine::localChanged, this, [this] {
        if (m_tasksFrame)
            Guarded([this] { m_tasksFrame->TakeSyncedChanges(); });
    });
    connect(m_sync, &SyncEngine::finished, this, &TmainFm::SyncFinished);

    Timer_sync = new QTimer(this);
    connect(Timer_sync, &QTimer::timeout, this, [this] { StartSync(false); });
    Timer_syncSoon = new QTimer(this);
    Timer_syncSoon->setSingleShot(true);
    connect(Timer_syncSoon, &QTimer::timeout, this, [this] { StartSync(false); });
    Timer_syncWatch = new QTimer(this);
    connect(Timer_syncWatch, &QTimer::timeout, this, [this] {
        if (SyncStore::ChangeCount() != m_syncSeen) {
            m_syncSeen = SyncStore::ChangeCount();
            Timer_syncSoon->start(kAfterChangeMs);
        }
    });

    SyncHooks& hooks = m_context.sync;
    hooks.secrets = m_secrets;
    hooks.test = [this](const SyncAccount& a, SyncHooks::TestDone done) {
        auto* tester = new SyncEngine(m_db, QString(), m_context.fileVersion(), this);
        tester->test(a, [tester, done](bool ok, QString text, std::vector<SyncTaskList> lists) {
            done(ok, text, std::move(lists));
            tester->deleteLater();
        });
    };
    hooks.known = [this](const SyncSettings& s) -> std::optional<QString> {
        if (m_syncPasswordKnown && s.accountKey() == m_syncSettings.accountKey())
            return m_syncPassword;
        return std::nullopt;
    };
    hooks.changed = [this](const SyncSettings& s, const std::optional<QString>& password) {
        m_syncSettings = s;
        m_syncPassword = password.value_or(QString());
        m_syncPasswordKnown = password.has_value(); // else read or asked at the next sync
        m_syncPasswordRefused = false;
        if (s.isSet() && password && !password->isEmpty())
            m_secrets->write(s.accountKey(), *password, [this](SecretStore::Outcome o) {
                m_context.sync.storeMissing = o == SecretStore::Outcome::NoStore;
            });
        ApplySyncSettings();
        if (s.isSet())
            Timer_syncSoon->start(0);
    };
    m_syncSettings = SyncSettings::Read(IniFile(m_context.configPath));
    ApplySyncSettings();
}

void TmainFm::ApplySyncSettings() {
    const bool on = m_syncSettings.isSet() && m_db.isOpen();
    Action_Sync->setVisible(on);
    ShowSyncInTrayMenu();
    Timer_sync->stop();
    Timer_syncWatch->stop();
    if (!on) {
        // Without an account no change is recorded: what was known of the
        // server is forgotten, and the next account begins by comparing.
        if (m_db.isOpen())
            Guarded([this] {
                SyncStore store(m_db);
                if (store.exists())
                    store.reset();
            });
        return;
    }
    // From now on every change here is recorded, offline ones too.
    Guarded([this] { SyncStore(m_db).attach(); });
    m_syncSeen = SyncStore::ChangeCount();
    Timer_syncWatch->start(kWatchMs);
    if (m_syncSettings.interval > 0)
        Timer_sync->start(m_syncSettings.interval * 60 * 1000);
}

void TmainFm::StartSyncSoon() {
    if (m_syncSettings.isSet())
        QTimer::singleShot(kStartDelayMs, this, [this] { StartSync(false); });
}

void TmainFm::StartSync(bool byHand) {
    if (byHand && m_sync->running()) {
        // A server that trickles its answer holds a sync for minutes.
        const qint64 s = (QDateTime::currentMSecsSinceEpoch() - m_sync->startedAt()) / 1000;
        if (s >= kStuckSeconds &&
            AskBox(tr("The synchronization has been running for %1 seconds. Stop it?").arg(s)) ==
                IDOK)
            m_sync->stop();
        return;
    }
    if (!m_syncSettings.isSet() || !m_db.isOpen() || m_sync->running() || m_exiting)
        return;
    if (m_tasksFrame && m_tasksFrame->editingNode()) {
        if (!byHand)
            return Timer_syncSoon->start(kAfterChangeMs); // after the edit
        m_tasksFrame->FinishEdit();
    }
    if (QuestionOpen())
        return Timer_syncSoon->start(kAfterChangeMs); // after the answer
    m_syncByHand = byHand;
    if (!m_syncPasswordKnown && !m_syncSettings.user.isEmpty()) {
        if (m_syncAsking)
            return;
        // One the server refused is not read from the store again.
        if (m_syncPasswordRefused)
            return AskSyncPassword(SecretStore::Outcome::NotFound);
        m_syncAsking = true;
        m_secrets->read(m_syncSettings.accountKey(), [this](SecretStore::Outcome o, QString pw) {
            m_syncAsking = false;
            if (o != SecretStore::Outcome::Done)
                return AskSyncPassword(o);
            m_syncPassword = pw;
            m_syncPasswordKnown = true;
            StartSync(m_syncByHand);
        });
        return;
    }
    if (m_tasksFrame)
        m_tasksFrame->ZvStatusBar1->setPanelText(tr("Synchronizing..."));
    m_sync->start({m_syncSettings.address, m_syncSettings.user, m_syncPassword,
                   m_syncSettings.allowPlain, m_syncSettings.list});
}

// Asked once a run; kept in memory, and in the store when there is one.
void TmainFm::AskSyncPassword(SecretStore::Outcome stored) {
    m_context.sync.storeMissing = stored == SecretStore::Outcome::NoStore;
    if (m_syncPasswordDeclined && !m_syncByHand)
        return;
    m_syncAsking = true;
    const auto typed =
        AskPassword(tr("Password of %1 at %2:").arg(m_syncSettings.user, m_syncSettings.address));
    m_syncAsking = false;
    if (!typed) {
        m_syncPasswordDeclined = true;
        return;
    }
    m_syncPassword = *typed;
    m_syncPasswordKnown = true;
    m_syncPasswordRefused = false;
    if (stored != SecretStore::Outcome::NoStore)
        m_secrets->write(m_syncSettings.accountKey(), *typed, {});
    StartSync(m_syncByHand);
}

void TmainFm::SyncFinished(const SyncResult& r) {
    if (m_exiting)
        return;                            // stopped on the way out: the next start goes on
    m_syncSeen = SyncStore::ChangeCount(); // what the sync sent needs no second one
    if (r.postponed) {
        Timer_syncSoon->start(kAfterChangeMs);
        return;
    }
    QString text = r.text();
    if (!r.conflictFile.isEmpty())
        text = SyncResult{r.ok, r.sent, r.received, r.failure,
                          QDir(m_context.folder).relativeFilePath(r.conflictFile)}
                   .text();
    if (m_tasksFrame)
        m_tasksFrame->ZvStatusBar1->setPanelText(text);
    if (r.refused)
        m_syncPasswordKnown = false, m_syncPasswordRefused = true; // asked next time
    if (!r.ok && m_syncByHand)
        ErrorBox(text);
}

void TmainFm::StopSync() {
    if (m_sync)
        m_sync->stop();
}
