// SPDX-License-Identifier: GPL-2.0-or-later
// kpxv410: the word-table tool of the 鷺笙輸入法.
#include <exception>

#include <QFileInfo>

#include "dialogs/dialog_resources.h"
#include "mainwindow/application.h"
#include "mainwindow/form1.h"
#include "mainwindow/program_windows.h"
#include "mainwindow/single_instance.h"
#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"

int main(int argc, char *argv[])
{
    kpx::Application application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kpxv410"));
    // The program's name in the task bar and the session manager.
    QGuiApplication::setApplicationDisplayName(kpx::qtText(kpx::texts::kProgramTitle));
    application.setWindowIcon(programIcon());
    kpx::installQtTranslations();

    kpx::SingleInstance instance(kpx::SingleInstance::keyForDataDirectory());
    if (!kpx::claimOrHandOver(instance))
        return 0;

    try {
        kpx::ProgramWindows windows;
        QObject::connect(
            &instance, &kpx::SingleInstance::activationRequested, windows.Form1.get(), &TForm1::bringToFront);
        // An installed copy (the Debian package) finds the handbook's example beside it; the
        // program then offers to make the data directory that no installer made.
        const QString example
            = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kpxv410/example.txt");
        if (QFileInfo::exists(example))
            windows.Form1->workbench().offerDataDirectoryWith(kpx::u16View(QFileInfo(example).canonicalFilePath()));
        windows.Form1->show();
        // Without a window manager nothing would give the window the focus.
        windows.Form1->activateWindow();
        application.exec();
    } catch (const std::exception &error) {
        kpx::showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
