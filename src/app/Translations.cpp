#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& own() {
    static std::unique_ptr<QTranslator> t;
    return t;
}
std::unique_ptr<QTranslator>& qts() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

} // namespace

QString LoadTranslations(const QLocale& locale) {
    UnloadTranslations();
    auto mine = std::make_unique<QTranslator>();
    // Built into the program, so a program folder needs no catalogue files.
    if (!mine->load(locale, QStringLiteral("tasquel"), QStringLiteral("_"),
                    QStringLiteral(":/i18n")))
        return {};
    QCoreApplication::installTranslator(mine.get());
    const QString language = mine->language();
    own() = std::move(mine);
    // Qt's standard buttons and file and print windows; missing is no fault,
    // they then stay English.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qts() = std::move(qt);
    }
    return language;
}

void UnloadTranslations() {
    for (auto* t : {&own(), &qts()})
        if (*t) {
            QCoreApplication::removeTranslator(t->get());
            t->reset();
        }
}
