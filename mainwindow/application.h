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

// Shows text in an error box titled with the program's name.
void showErrorBox(const QString &text);

} // namespace kpx
