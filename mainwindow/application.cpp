// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/application.h"

#include <exception>
#include <new>

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

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

bool installQtTranslations()
{
    // qtbase holds the texts of the widgets' own dialogs; the application owns the translator.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan),
            QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void showErrorBox(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, qtText(texts::kProgramTitle), text, QMessageBox::Ok);
    box.exec();
}

} // namespace kpx
