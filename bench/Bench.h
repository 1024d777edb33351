#pragma once

// What the benchmark files share: the generated folder, a scratch folder,
// and the program as main() builds it.
#include "app/TmainFm.h"
#include "platform/Database.h"
#include "tasks/TzvTasksFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

inline QString g_folder; // the generated program folder, with its trailing slash
inline QTemporaryDir* g_scratch;

// A new folder with an empty database, for a run that reads into one.
inline QString EmptyFolder(const char* prefix) {
    static int n = 0;
    const QString dir =
        g_scratch->filePath(QStringLiteral("%1%2/").arg(QLatin1String(prefix)).arg(++n));
    QDir().mkpath(dir);
    Database::createEmpty(dir + Database::FileName);
    return dir;
}

struct Program {
    std::unique_ptr<TmainFm> main;
    TzvTasksFrame* frame = nullptr;
    explicit Program(bool show = true, const QString& folder = g_folder) {
        main = std::make_unique<TmainFm>(folder);
        if (show) {
            main->show();
            settle();
        }
        frame = main->tasksFrame();
        if (frame)
            frame->Timer1->stop();
    }
    static void settle() {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }
};

// Commands on many rows (bench_commands.cpp).
void BM_DeleteAll(benchmark::State& s);
void BM_DeleteAll_Floor(benchmark::State& s);
void BM_UndoDeleteAll(benchmark::State& s);
void BM_UndoDeleteAll_Floor(benchmark::State& s);
void BM_DismissAll(benchmark::State& s);
void BM_DismissAll_Floor(benchmark::State& s);
// Before the application goes: the program the burst figures keep.
void ReleaseCommandBenches();

// iCalendar files (bench_icalendar.cpp).
void BM_IcsExport(benchmark::State& s);
void BM_IcsExport_Floor(benchmark::State& s);
void BM_IcsImport(benchmark::State& s);
void BM_IcsImport_Floor(benchmark::State& s);
void ReleaseCalendarBenches();
