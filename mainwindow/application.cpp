// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/application.h"

#include <exception>
#include <new>

#include <QMessageBox>

#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"

namespace kpx {

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        showErrorBox(qtText(texts::kOutOfMemory));
    } catch (const std::exception &error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void showErrorBox(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, qtText(texts::kProgramTitle), text, QMessageBox::Ok);
    box.exec();
}

} // namespace kpx
