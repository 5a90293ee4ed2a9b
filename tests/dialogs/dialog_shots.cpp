// SPDX-License-Identifier: GPL-2.0-or-later
// Saves a picture of every dialog and every handbook page into the directory given as the
// first argument, for looking at the layouts. Run it with QT_QPA_PLATFORM=offscreen or on a
// display; scripts/screenshot-dialogs.sh does both.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTextStream>

#include "dialogs/aboutbox1.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "dialogs/sc_cheh1.h"

namespace {

bool save(QWidget *window, const QDir &dir, const QString &name)
{
    window->show();
    QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!window->grab().save(path)) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: kpx_dialog_shots <output directory>\n";
        return 1;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << dir.path() << '\n';
        return 1;
    }

    bool ok = true;
    Tokmes1 notice;
    notice.setMessage(QStringLiteral(u"對照表製作完成\r\n\r\n總共 1234 條\r\n"
                                     u"C:\\vokelu\\kpx-ty1.zd"));
    ok = save(&notice, dir, QStringLiteral("okmes1")) && ok;
    notice.hide();

    TmmDirtyWarning1 question;
    ok = save(&question, dir, QStringLiteral("mmdirtywarning1")) && ok;
    question.hide();

    Taboutbox1 about;
    ok = save(&about, dir, QStringLiteral("aboutbox1")) && ok;
    about.hide();

    TSCCheh1 handbook;
    auto *const pages = handbook.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    if (!pages) {
        QTextStream(stderr) << "the handbook has no PageControl1\n";
        return 1;
    }
    for (int index = 0; index < pages->count(); ++index) {
        pages->setCurrentIndex(index);
        ok = save(&handbook, dir, QStringLiteral("sccheh1-page%1").arg(index + 1)) && ok;
    }
    // The same window made larger: the pages follow its size.
    handbook.resize(handbook.width() * 3 / 2, handbook.height() * 3 / 2);
    pages->setCurrentIndex(1);
    ok = save(&handbook, dir, QStringLiteral("sccheh1-resized")) && ok;
    return ok ? 0 : 1;
}
