#include "Interchange.h"

#include "InterchangeFormat.h"
#include "TaskTreeModel.h"
#include "XmlTry.h"
#include "platform/Database.h"
#include "platform/WriteBatch.h"
#include "platform/pU_Funcs.h"

#include <QCoreApplication>
#include <QSet>
#include <cstring>
#include <pugixml.hpp>

namespace Interchange {

const char* const Skeleton = "<zarvik app=\"\" appversion=\"\" dataversion=\"1.1\" time=\"\">\r"
                             "  <tasks/>\r"
                             "  <memos/>\r"
                             "  <notes/>\r"
                             "  <peers/>\r"
                             "</zarvik>";
const char* const AppId = "Tally-Ward";

namespace {

// A record's attribute; a missing one is reported as the path would be.
// Where a record stands, spelled out only for a message: building the path
// of every record would cost more than reading it.
struct RecordPath {
    const char* section; // "tasks"
    const char* element; // "task"
    int position;
    QString text() const {
        return QStringLiteral("zarvik,%1,%2#%3")
            .arg(QLatin1String(section), QLatin1String(element))
            .arg(position);
    }
};

QString attr(pugi::xml_node node, const RecordPath& path, const char* name, const ErrorBox& box) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) {
        if (box)
            box(path.text() + QStringLiteral(": ") + QLatin1String(name) +
                QCoreApplication::translate("Interchange", " not Exist !"));
        return QString();
    }
    return QString::fromUtf8(a.value());
}

// Hands one attribute to its column, converted as the column wants.
// Hands one attribute's bytes to its column, converted as the column wants;
// a string of the value is made only for a message.
void setColumn(Query& q, const Column& c, const char* value, int bias) {
    const QString name = QLatin1String(c.column);
    const bool empty = *value == 0;
    const auto refused = [&](const char* what) {
        return DbError(
            QCoreApplication::translate("Interchange", "'%1' is not a valid %2 value for %3.")
                .arg(QString::fromUtf8(value), QLatin1String(what), name));
    };
    switch (c.kind) {
    case Column::Text:
        q.setText(name, QString::fromUtf8(value));
        return;
    case Column::Flag:
        if (empty)
            q.setNull(name);
        else if (qstricmp(value, "True") == 0 || std::strcmp(value, "1") == 0 ||
                 std::strcmp(value, "-1") == 0)
            q.setBool(name, true);
        else if (qstricmp(value, "False") == 0 || std::strcmp(value, "0") == 0)
            q.setBool(name, false);
        else
            throw refused("boolean");
        return;
    case Column::Integer: {
        if (empty) {
            q.setNull(name);
            return;
        }
        bool ok = false;
        const int v = QByteArrayView(value).trimmed().toInt(&ok);
        if (!ok)
            throw refused("integer");
        q.setInt(name, v);
        return;
    }
    case Column::Time:
        // A missing date-time is an empty column.
        if (empty)
            q.setNull(name);
        else
            q.setDateTime(name, ParseIsoDateTimeUtf8(value, bias));
        return;
    }
}

// The common start of both readers: the file, then its application id.
bool openFile(Txmltry& xml, const QString& fileName, const ErrorBox& box) {
    try {
        xml.LoadFile(fileName, true);
    } catch (const XmlPasswordError& e) {
        if (box)
            box(QString::fromStdString(e.what()));
        return false;
    } catch (const std::exception&) {
        if (box)
            box(QCoreApplication::translate("Interchange", "File read failure!"));
        return false;
    }
    // Read once: a file without it says so in one box, not two.
    const QString app = xml.GetAttr(QStringLiteral("zarvik"), QStringLiteral("app"));
    if (app != QLatin1String(AppId)) {
        if (box)
            box(QCoreApplication::translate("Interchange", "Data mismatch: ") + app +
                QLatin1String(AppId));
        return false;
    }
    return true;
}

struct Section {
    const char* name;    // "memos"
    const char* element; // "memo"
    const char* table;
    const char* idColumn; // "mid"
    const Column* columns;
    size_t count;
};
const Section kMemos{"memos", "memo", "memos", "mid", kMemoColumns, std::size(kMemoColumns)};
const Section kTasks{"tasks", "task", "tasks", "tid", kTaskColumns, std::size(kTaskColumns)};

// The record's remaining columns from `from` on, then the row is posted.
void postRecord(Query& q, const Section& s, size_t from, pugi::xml_node record,
                const RecordPath& path, const ErrorBox& box, int bias) {
    // Text goes from the document's own UTF-8 to the statement: a large
    // value is not copied on its way, only its line breaks may be.
    for (size_t c = from; c < s.count; ++c) {
        const Column& column = s.columns[c];
        const pugi::xml_attribute a = record.attribute(column.attribute);
        if (!a)
            attr(record, path, column.attribute, box); // reports it
        const char* value = a ? a.value() : "";
        if (column.kind != Column::Text) {
            setColumn(q, column, value, bias);
            continue;
        }
        QByteArray bytes = QByteArray::fromRawData(value, qsizetype(std::strlen(value)));
        if (column.attribute == std::string_view("content") && bytes.contains('\n'))
            bytes = ToCrLf(bytes);
        q.setUtf8(QLatin1String(column.column), bytes);
    }
    q.post();
    q.close();
}

// The record holds what the stored row would give it, column by column.
bool sameAsStored(const Query& q, const Section& s, pugi::xml_node record, int bias) {
    for (size_t c = 0; c < s.count; ++c) {
        const Column& column = s.columns[c];
        const int i = q.fieldIndex(QLatin1String(column.column));
        const pugi::xml_attribute a = record.attribute(column.attribute);
        if (i < 0 || !a)
            return false;
        QString stored = ColumnText(q, i, column.kind, bias);
        QString given = QString::fromUtf8(a.value());
        if (column.kind == Column::Text) { // line breaks as a file gives them
            stored.remove(u'\r');
            given.remove(u'\r');
        }
        if (stored != given)
            return false;
    }
    return true;
}

// Runs a reader's passes; an error ends the run with its own message.
template <typename Passes> bool runPasses(const ErrorBox& box, Passes&& passes) {
    try {
        return passes();
    } catch (const std::exception& e) {
        if (box)
            box(QString::fromUtf8(e.what()));
        return false;
    }
}

// The missing-attribute boxes of one command: the first is shown, the rest
// are counted and reported once at the end. A file of broken records would
// otherwise raise a box per attribute, more than anyone can answer.
class MissingAttributes {
public:
    explicit MissingAttributes(const ErrorBox& box) : m_box(box) {}
    ErrorBox box() {
        if (!m_box)
            return {};
        return [this](const QString& text) {
            if (m_shown++ == 0)
                m_box(text);
        };
    }
    void report() const {
        if (m_box && m_shown > 1)
            m_box(QCoreApplication::translate("Interchange", "... and %1 more missing attributes")
                      .arg(m_shown - 1));
    }

private:
    ErrorBox m_box;
    qint64 m_shown = 0;
};

} // namespace

QByteArray ToCrLf(const QByteArray& text) {
    QByteArray s = text;
    s.replace("\r\n", "\n");
    s.replace("\n", "\r\n");
    return s;
}

QString ToCrLf(const QString& text) {
    if (!text.contains(u'\n'))
        return text;
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s;
}

namespace {

bool restore(Database& db, WriteBatch& batch, const QString& fileName, const Ask& ask,
             const ErrorBox& fileBox, const ErrorBox& errorBox, const Progress& progress) {
    Txmltry xml(errorBox);
    if (!openFile(xml, fileName, fileBox))
        return false;
    const int bias = LocalOffsetBias();
    Answer answer = Answer::Yes;
    Query q(db);
    return runPasses(fileBox, [&] {
        const int total = xml.ChildCount(QStringLiteral("zarvik,memos")) +
                          xml.ChildCount(QStringLiteral("zarvik,tasks"));
        int done = 0;
        for (const Section* s : {&kMemos, &kTasks}) {
            const QString section = QStringLiteral("zarvik,") + QLatin1String(s->name);
            const int n = xml.ChildCount(section);
            const pugi::xml_node sectionNode = xml.FindNode(section);
            const QString lookup = QStringLiteral("select * from %1 where %2=?")
                                       .arg(QLatin1String(s->table), QLatin1String(s->idColumn));
            const QString empty =
                QStringLiteral("select * from %1 where 0=1").arg(QLatin1String(s->table));
            // The ids stored already, read in one pass: a record only new to
            // the table (all of them, restoring into an empty database) then
            // costs no lookup.
            // Kept as UTF-8: the file's ids are looked up as the document
            // holds them, which lives as long as this set.
            QSet<QByteArray> stored;
            OpenQuery(q, QStringLiteral("select %2 from %1")
                             .arg(QLatin1String(s->table), QLatin1String(s->idColumn)));
            for (; !q.eof(); q.next())
                stored.insert(q.text(0).toUtf8());
            for (int i = 0; i < n; ++i) {
                const RecordPath path{s->name, s->element, i};
                const pugi::xml_node record = xml.Child(sectionNode, i);
                const pugi::xml_attribute idAttr = record.attribute(s->idColumn);
                if (!idAttr)
                    attr(record, path, s->idColumn, errorBox); // reports it
                const char* idBytes = idAttr ? idAttr.value() : "";
                const QByteArray id =
                    QByteArray::fromRawData(idBytes, qsizetype(std::strlen(idBytes)));
                bool exists = stored.contains(id);
                if (exists) {
                    OpenQuery(q, lookup, {QString::fromUtf8(id)});
                    exists = !q.eof();
                }
                stored.insert(id); // a second record of this id in the file finds this one
                if (!exists) {
                    batch.beforeWrite();
                    OpenQuery(q, empty);
                    q.append();
                } else {
                    if (sameAsStored(q, *s, record, bias)) {
                        q.close(); // nothing would change: no question
                        continue;
                    }
                    if (answer != Answer::All) {
                        ReplaceQuestion question;
                        question.kind = QLatin1String(s->element);
                        question.fileContent = attr(record, path, "content", errorBox);
                        const QString editTime = attr(record, path, "edit-time", errorBox);
                        question.fileEditTime =
                            editTime.isEmpty() ? 0 : ParseIsoDateTime(editTime, bias);
                        question.dbContent = q.text(QStringLiteral("content"));
                        question.dbEditTime = q.dateTime(QStringLiteral("editTime"));
                        answer = ask(question);
                        if (answer == Answer::Abort)
                            return true;
                        if (answer == Answer::No || answer == Answer::Closed) {
                            q.close();
                            continue;
                        }
                    }
                    batch.beforeWrite();
                    q.edit();
                }
                postRecord(q, *s, 0, record, path, errorBox, bias);
                batch.afterWrite();
                if (progress && (++done % 256) == 0)
                    progress(done, total);
            }
        }
        return true;
    });
}

bool import(Database& db, WriteBatch& batch, const QString& fileName, const ErrorBox& fileBox,
            const ErrorBox& errorBox, const Progress& progress) {
    Txmltry xml(errorBox);
    if (!openFile(xml, fileName, fileBox))
        return false;
    const int bias = LocalOffsetBias();
    Query q(db);
    return runPasses(fileBox, [&] {
        const int total = xml.ChildCount(QStringLiteral("zarvik,memos")) +
                          xml.ChildCount(QStringLiteral("zarvik,tasks"));
        int done = 0;
        for (const Section* s : {&kMemos, &kTasks}) {
            // The ids of the file and the new ids given for them, per pass.
            QHash<QString, QString> idMap;
            const auto mapped = [&idMap](const QString& fileId) {
                auto it = idMap.constFind(fileId);
                if (it != idMap.constEnd())
                    return *it;
                const QString fresh = NewGuid();
                idMap.insert(fileId, fresh);
                return fresh;
            };
            const QString section = QStringLiteral("zarvik,") + QLatin1String(s->name);
            const int n = xml.ChildCount(section);
            const pugi::xml_node sectionNode = xml.FindNode(section);
            const QString empty =
                QStringLiteral("select * from %1 where 0=1").arg(QLatin1String(s->table));
            const QString idName = QLatin1String(s->idColumn);
            for (int i = 0; i < n; ++i) {
                const RecordPath path{s->name, s->element, i};
                const pugi::xml_node record = xml.Child(sectionNode, i);
                batch.beforeWrite();
                OpenQuery(q, empty);
                q.append();
                const QString pid = attr(record, path, "pid", errorBox);
                if (pid == RootPid()) {
                    q.setText(QStringLiteral("pid"), RootPid());
                    q.setText(idName, mapped(attr(record, path, s->idColumn, errorBox)));
                } else {
                    q.setText(QStringLiteral("pid"), mapped(pid));
                    q.setText(idName, NewGuid()); // nothing refers to a sub-task
                }
                postRecord(q, *s, 2, record, path, errorBox, bias); // after the ids
                batch.afterWrite();
                if (progress && (++done % 256) == 0)
                    progress(done, total);
            }
        }
        return true;
    });
}

} // namespace

// Both readers write in batches and commit before every question and every
// box: what was written before a failure or an abort stays written, and no
// dialog waits while the database is held in a transaction.
namespace {
ErrorBox committing(WriteBatch& batch, const ErrorBox& box) {
    if (!box)
        return {};
    return [&batch, box](const QString& text) {
        batch.commit();
        box(text);
    };
}
} // namespace

bool RestoreFromFile(Database& db, const QString& fileName, const Ask& ask,
                     const ErrorBox& errorBox, const Progress& progress,
                     const std::function<void()>& beforeChange) {
    WriteBatch batch(db);
    batch.beforeFirstWrite = beforeChange;
    const ErrorBox box = committing(batch, errorBox);
    const Ask asked = [&](const ReplaceQuestion& q) {
        batch.commit();
        return ask ? ask(q) : Answer::Yes;
    };
    MissingAttributes missing(box);
    const bool ok = restore(db, batch, fileName, asked, box, missing.box(), progress);
    batch.commit();
    missing.report();
    return ok;
}

bool ImportFromFile(Database& db, const QString& fileName, const ErrorBox& errorBox,
                    const Progress& progress, const std::function<void()>& beforeChange) {
    WriteBatch batch(db);
    batch.beforeFirstWrite = beforeChange;
    const ErrorBox box = committing(batch, errorBox);
    MissingAttributes missing(box);
    const bool ok = import(db, batch, fileName, box, missing.box(), progress);
    batch.commit();
    missing.report();
    return ok;
}

} // namespace Interchange
