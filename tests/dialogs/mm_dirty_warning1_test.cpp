// SPDX-License-Identifier: GPL-2.0-or-later
#include <type_traits>

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "dialogs/mm_dirty_warning1.h"
#include "tests/dialogs/dialog_test_helpers.h"

namespace {

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class MmDirtyWarning1Test : public QObject {
    Q_OBJECT

private slots:
    void shouldHaveDefaultValues();
    void flagsAreBytesInOrder();
    void setAnswersStoresTheValues();
    void answers_data();
    void answers();
    void yesHasFocusAtEveryShowing();
    void tabOrderIsYesNoCancel();
    void standsInTheMiddleOfTheScreen();
};

void MmDirtyWarning1Test::shouldHaveDefaultValues()
{
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    TmmDirtyWarning1 dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("mmDirtyWarning1"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral(u"鷺笙輸入法  對照表詞庫"));
    QCOMPARE(dialog.size(), QSize(scaledPixels(313, f), scaledPixels(214, f)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.font().pixelSize(), scaledPixels(11, f));

    QCOMPARE(dialog.answerYes, 0);
    QCOMPARE(dialog.answerNo, 0);
    QCOMPARE(dialog.answerCancel, 0);

    auto *const bevel = dialog.findChild<QFrame *>(QStringLiteral("Bevel1"));
    QVERIFY(bevel);
    QCOMPARE(bevel->geometry(), scaled(8, 8, 297, 161, f));

    const struct {
        const char *name;
        const char16_t *text;
        int y;
    } labels[] = {
        { "Label1", u"資料檔案已經修改過， iauve 存檔", 32 },
        { "Label2", u"是m是 現在 veh 存檔？", 96 },
    };
    for (const auto &expected : labels) {
        auto *const label = dialog.findChild<QLabel *>(QLatin1String(expected.name));
        QVERIFY2(label, expected.name);
        QCOMPARE(label->text(), QString::fromUtf16(expected.text));
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        QCOMPARE(label->font().pixelSize(), scaledPixels(16, f));
        QCOMPARE(label->y(), scaledPixels(expected.y, f));
        // The whole text fits, inside the bevel.
        QVERIFY2(label->width() >= label->sizeHint().width(), expected.name);
        QVERIFY2(bevel->geometry().contains(label->geometry()), expected.name);
    }

    const struct {
        const char *name;
        const char16_t *text;
        QRect place;
    } buttons[] = {
        { "OKBtn", u"是", QRect(31, 177, 75, 25) },
        { "bn4vorai", u"無愛", QRect(120, 177, 65, 25) },
        { "CancelBtn", u"取消", QRect(199, 177, 75, 25) },
    };
    for (const auto &expected : buttons) {
        QPushButton *const b = button(&dialog, expected.name);
        QVERIFY2(b, expected.name);
        QCOMPARE(b->text(), QString::fromUtf16(expected.text));
        QCOMPARE(b->geometry(),
            scaled(expected.place.x(), expected.place.y(), expected.place.width(), expected.place.height(), f));
        QCOMPARE(b->font().pixelSize(), scaledPixels(16, f));
    }
    QVERIFY(button(&dialog, "OKBtn")->isDefault());
    QVERIFY(!button(&dialog, "bn4vorai")->isDefault());
    QVERIFY(!button(&dialog, "CancelBtn")->isDefault());
}

void MmDirtyWarning1Test::flagsAreBytesInOrder()
{
    static_assert(std::is_same_v<decltype(TmmDirtyWarning1::answerYes), std::uint8_t>);
    static_assert(std::is_same_v<decltype(TmmDirtyWarning1::answerNo), std::uint8_t>);
    static_assert(std::is_same_v<decltype(TmmDirtyWarning1::answerCancel), std::uint8_t>);
    TmmDirtyWarning1 dialog;
    // The data-modified flag before them is the Workbench's (DirtyWarningState).
    const auto *const base = reinterpret_cast<const unsigned char *>(&dialog.answerYes);
    QCOMPARE(reinterpret_cast<const unsigned char *>(&dialog.answerNo) - base, 1);
    QCOMPARE(reinterpret_cast<const unsigned char *>(&dialog.answerCancel) - base, 2);
}

void MmDirtyWarning1Test::setAnswersStoresTheValues()
{
    TmmDirtyWarning1 dialog;
    dialog.setAnswers(1, 2, 255);
    QCOMPARE(dialog.answerYes, 1);
    QCOMPARE(dialog.answerNo, 2);
    QCOMPARE(dialog.answerCancel, 255);
    dialog.setAnswers(0, 0, 0);
    QCOMPARE(dialog.answerYes, 0);
    QCOMPARE(dialog.answerNo, 0);
    QCOMPARE(dialog.answerCancel, 0);
}

using Answer = std::function<void(QDialog *)>;
Q_DECLARE_METATYPE(Answer)

void MmDirtyWarning1Test::answers_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("yes");
    QTest::addColumn<int>("no");
    QTest::addColumn<int>("cancel");
    QTest::addColumn<int>("result");

    const auto click = [](const char *name) { return Answer([name](QDialog *d) { button(d, name)->click(); }); };
    const auto keyAsOpened = [](Qt::Key key) {
        return Answer([key](QDialog *d) {
            QVERIFY(d->focusWidget());
            QTest::keyClick(d->focusWidget(), key);
        });
    };
    const auto keyOn = [](const char *focused, Qt::Key key) {
        return Answer([focused, key](QDialog *d) {
            button(d, focused)->setFocus();
            QTest::keyClick(d->focusWidget(), key);
        });
    };
    using D = TmmDirtyWarning1;
    QTest::newRow("是") << click("OKBtn") << 1 << 0 << 0 << D::kResultYes;
    QTest::newRow("無愛") << click("bn4vorai") << 0 << 1 << 0 << D::kResultNo;
    QTest::newRow("取消") << click("CancelBtn") << 0 << 0 << 1 << D::kResultCancel;
    QTest::newRow("Enter as opened") << keyAsOpened(Qt::Key_Return) << 1 << 0 << 0 << D::kResultYes;
    QTest::newRow("keypad Enter as opened") << keyAsOpened(Qt::Key_Enter) << 1 << 0 << 0 << D::kResultYes;
    QTest::newRow("Esc as opened") << keyAsOpened(Qt::Key_Escape) << 0 << 0 << 1 << D::kResultCancel;
    QTest::newRow("Esc on 是") << keyOn("OKBtn", Qt::Key_Escape) << 0 << 0 << 1 << D::kResultCancel;
    QTest::newRow("Esc on 無愛") << keyOn("bn4vorai", Qt::Key_Escape) << 0 << 0 << 1 << D::kResultCancel;
    QTest::newRow("Esc on 取消") << keyOn("CancelBtn", Qt::Key_Escape) << 0 << 0 << 1 << D::kResultCancel;
    // Enter presses the button that has the focus, as on Windows.
    QTest::newRow("Enter on 無愛") << keyOn("bn4vorai", Qt::Key_Return) << 0 << 1 << 0 << D::kResultNo;
    QTest::newRow("space on 取消") << keyOn("CancelBtn", Qt::Key_Space) << 0 << 0 << 1 << D::kResultCancel;
    QTest::newRow("close box") << Answer([](QDialog *d) { d->close(); }) << 0 << 0 << 0 << int(QDialog::Rejected);
}

void MmDirtyWarning1Test::answers()
{
    QFETCH(Answer, answer);
    QFETCH(int, yes);
    QFETCH(int, no);
    QFETCH(int, cancel);
    QFETCH(int, result);

    TmmDirtyWarning1 dialog;
    // The flags of an earlier showing are cleared first.
    dialog.setAnswers(1, 1, 1);
    QPointer<QDialog> seen;
    whenModal(answer, &seen);
    const kpx::DirtyAnswer asked = dialog.ask();
    const int returned = dialog.result();
    QCOMPARE(seen.data(), &dialog);
    QCOMPARE(returned, result);
    QCOMPARE(int(dialog.answerYes), yes);
    QCOMPARE(int(dialog.answerNo), no);
    QCOMPARE(int(dialog.answerCancel), cancel);
    QCOMPARE(asked,
        yes          ? kpx::DirtyAnswer::Yes
            : no     ? kpx::DirtyAnswer::No
            : cancel ? kpx::DirtyAnswer::Cancel
                     : kpx::DirtyAnswer::None);
    QVERIFY(!dialog.isVisible());
}

void MmDirtyWarning1Test::yesHasFocusAtEveryShowing()
{
    TmmDirtyWarning1 dialog;
    QWidget *focusFirst = nullptr;
    whenModal([&](QDialog *d) {
        focusFirst = d->focusWidget();
        button(d, "CancelBtn")->setFocus();
        QTest::keyClick(d->focusWidget(), Qt::Key_Escape);
    });
    dialog.exec();
    QWidget *focusAgain = nullptr;
    whenModal([&](QDialog *d) {
        focusAgain = d->focusWidget();
        d->close();
    });
    dialog.exec();
    QCOMPARE(focusFirst, button(&dialog, "OKBtn"));
    QCOMPARE(focusAgain, button(&dialog, "OKBtn"));
}

void MmDirtyWarning1Test::tabOrderIsYesNoCancel()
{
    TmmDirtyWarning1 dialog;
    QStringList order;
    whenModal([&](QDialog *d) {
        for (int i = 0; i < 4 && d->focusWidget(); ++i) {
            order << d->focusWidget()->objectName();
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        }
        d->close();
    });
    dialog.exec();
    QCOMPARE(order,
        QStringList({ QStringLiteral("OKBtn"), QStringLiteral("bn4vorai"), QStringLiteral("CancelBtn"),
            QStringLiteral("OKBtn") }));
}

void MmDirtyWarning1Test::standsInTheMiddleOfTheScreen()
{
    TmmDirtyWarning1 dialog;
    QPoint centre;
    whenModal([&](QDialog *d) {
        centre = d->frameGeometry().center();
        d->close();
    });
    dialog.exec();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((centre - screenCentre).manhattanLength() <= 2,
        qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

QTEST_MAIN(MmDirtyWarning1Test)
#include "mm_dirty_warning1_test.moc"
