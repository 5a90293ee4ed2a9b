// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/dialog_resources.h"

#include <mutex>

#include <QtGlobal>

void initDialogResources()
{
    // Once only: registering the same data twice would add the files twice.
    static std::once_flag registered;
    std::call_once(registered, [] { Q_INIT_RESOURCE(dialogs); });
}

QIcon programIcon()
{
    initDialogResources();
    QIcon icon;
    icon.addFile(QString::fromLatin1(kProgramIconPath), QSize(64, 64));
    icon.addFile(QStringLiteral(":/kpx/icons/kpxv410-256.png"), QSize(256, 256));
    return icon;
}
