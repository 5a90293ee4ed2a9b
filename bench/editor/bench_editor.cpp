// SPDX-License-Identifier: GPL-2.0-or-later
// Times the main window on a large data file: loading it into the editor, saving it, and making
// its table with Jejok, against the kpx-make tool on the same file.
//
// Usage: kpx-bench-editor DATAFILE KPX_MAKE [RUNS]
//   DATAFILE  a data file, e.g. from "kpx-bench-gen 1000000 1 data.txt"
//   KPX_MAKE  the kpx-make program
//   RUNS      runs of each step; the median is reported (default 3)
// Runs headless (offscreen) unless QT_QPA_PLATFORM says otherwise. Exit status 1 when a target
// is missed: a load of 20 MB in under 2 s (scaled by the file's size), Jejok at most twice the
// time of kpx-make.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include "compiler/table_compiler.h"
#include "mainwindow/form1.h"
#include "mainwindow/program_windows.h"

namespace {

constexpr double kLoadTargetMsPer20MB = 2000.0;
constexpr double kJejokTargetRatio = 2.0;

double medianMs(int runs, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Lets the window lay out and paint what changed, as the user would see it.
void settle(QWidget &window)
{
    QCoreApplication::processEvents();
    window.repaint();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fputs("Usage: kpx-bench-editor DATAFILE KPX_MAKE [RUNS]\n", stderr);
        return 2;
    }
    const QString dataFile = QString::fromLocal8Bit(argv[1]);
    const QString kpxMake = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The window's directory on the system drive is a temporary one, set before any window
    // exists; the data file becomes slot 1's.
    QTemporaryDir drive;
    if (!drive.isValid() || !QDir().mkpath(drive.path() + QStringLiteral("/vokelu"))) {
        std::fputs("kpx-bench-editor: no temporary directory\n", stderr);
        return 2;
    }
    qputenv("KPX_DRIVE", QFile::encodeName(drive.path()));
    const QString slotData = drive.path() + QStringLiteral("/vokelu/kpx-ty1.txt");
    if (!QFile::copy(dataFile, slotData)) {
        std::fprintf(stderr, "kpx-bench-editor: cannot read %s\n", argv[1]);
        return 2;
    }
    const qint64 bytes = QFileInfo(slotData).size();

    QApplication application(argc, argv);
    kpx::ProgramWindows windows;
    TForm1 &form = *windows.Form1;
    auto *editor = form.findChild<QPlainTextEdit *>(QStringLiteral("mm4indata1"));
    form.show();
    // The first activation loads slot 1 once, from a call queued when the window gets the
    // focus: wait for it here, so that no timed run includes a second load.
    QElapsedTimer waited;
    waited.start();
    while (QGuiApplication::focusWindow() != form.windowHandle() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    settle(form);

    const double loadMs = medianMs(runs, [&] {
        form.SwitchSlot(1);
        settle(form);
    });
    const int lines = editor->document()->blockCount();

    const double jejokMs = medianMs(runs, [&] { form.Jejok(false); });
    if (!kpx::tc_last_write().written) {
        std::fputs("kpx-bench-editor: the table was not written\n", stderr);
        return 2;
    }
    const std::int32_t entries = kpx::tc_count();

    const QString table = drive.path() + QStringLiteral("/make.zd");
    bool makeFailed = false;
    const double makeMs = medianMs(runs, [&] {
        QProcess make;
        make.start(kpxMake, { dataFile, QStringLiteral("-o"), table, QStringLiteral("--order"), QStringLiteral("ty") });
        if (!make.waitForFinished(-1) || make.exitStatus() != QProcess::NormalExit || make.exitCode() != 0)
            makeFailed = true;
    });
    if (makeFailed) {
        std::fputs("kpx-bench-editor: kpx-make failed\n", stderr);
        return 2;
    }
    const bool sameTable = QFile(table).size() == QFile(drive.path() + QStringLiteral("/vokelu/kpx-ty1.zd")).size();

    const double saveMs = medianMs(runs, [&] { form.mn4save1Click(); });

    const double loadTargetMs = kLoadTargetMsPer20MB * static_cast<double>(bytes) / (20.0 * 1024 * 1024);
    const bool loadOk = loadMs <= std::max(loadTargetMs, 1.0);
    const bool jejokOk = jejokMs <= kJejokTargetRatio * makeMs;
    std::printf("data file        %lld bytes, %d editor lines, %d entries, median of %d runs\n",
        static_cast<long long>(bytes), lines, entries, runs);
    std::printf(
        "load (SwitchSlot) %9.1f ms   target <= %.0f ms   %s\n", loadMs, loadTargetMs, loadOk ? "ok" : "MISSED");
    std::printf("save (F2)         %9.1f ms\n", saveMs);
    std::printf("Jejok             %9.1f ms\n", jejokMs);
    std::printf("kpx-make          %9.1f ms   Jejok / kpx-make = %.2f   target <= %.1f   %s\n", makeMs,
        jejokMs / makeMs, kJejokTargetRatio, jejokOk ? "ok" : "MISSED");
    std::printf("tables            %s\n", sameTable ? "same size" : "DIFFERENT SIZES");
    return loadOk && jejokOk && sameTable ? 0 : 1;
}
