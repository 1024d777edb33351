#include "CommandLine.h"

#include "gui/pU_Boxes.h"
#include "platform/ZvVersionInfo.h"

#include <QCommandLineParser>
#include <cstdio>

namespace CommandLine {

std::optional<int> Answer(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A small to-do list: tasks and sub-tasks with reminders and due dates."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    // The toolkit's own options, which it takes from the line itself.
    for (const char* name : {"platform", "style", "display", "qwindowgeometry", "qwindowtitle"}) {
        QCommandLineOption own(QLatin1String(name), QString(), QStringLiteral("value"));
        own.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(own);
    }
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const bool ok = parser.parse(arguments);
    // No application object yet: the parser cannot know the program's name.
    const QString usage =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("tasquel"));
    if (!ok || !parser.positionalArguments().isEmpty()) {
        const QString why =
            ok ? QStringLiteral("Unknown argument: ") + parser.positionalArguments().first()
               : parser.errorText();
        std::fprintf(stderr, "%s\n\n%s", qPrintable(why), qPrintable(usage));
        return 1;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(AppTitle()),
                    qPrintable(TZvVersionInfo().GetVersionValue(TZvVersionInfo::FileVersion)));
        return 0;
    }
    return std::nullopt;
}

} // namespace CommandLine
