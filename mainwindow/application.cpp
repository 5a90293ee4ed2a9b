// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/application.h"

#include "mainwindow/program_texts.h"

#include <QMessageBox>

#include <exception>
#include <new>

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
        showErrorBox(QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void showErrorBox(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, programTitle(), text, QMessageBox::Ok);
    box.exec();
}

} // namespace kpx
