// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QApplication>

namespace kpx {

// The application object. An error that escapes a command is shown in a box with the program's
// name, and the program goes on with the next event.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Qt's own texts (file dialogs, the editor's context menu, message box buttons) in the program's
// language, Traditional Chinese as written in Taiwan, from Qt's installed translations. False
// when they are not installed: Qt then speaks English.
bool installQtTranslations();

// Shows text in an error box titled with the program's name.
void showErrorBox(const QString &text);

} // namespace kpx
