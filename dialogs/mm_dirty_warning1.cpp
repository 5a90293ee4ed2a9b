// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/mm_dirty_warning1.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "dialogs/dialog_placement.h"
#include "dialogs/fonts.h"
#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"

namespace {

constexpr int kFormFontPixels = 11;
constexpr int kControlFontPixels = 16;

// Puts a centred label at its place; a face wider than 細明體 widens it around the same centre
// instead of cutting the text off.
void placeCentredLabel(QLabel *label, const QRect &place)
{
    QRect rect = place;
    const int needed = label->sizeHint().width();
    if (needed > rect.width()) {
        const int centre = place.center().x();
        rect.setWidth(needed);
        rect.moveLeft(centre - needed / 2);
    }
    rect.setHeight(qMax(rect.height(), label->sizeHint().height()));
    label->setGeometry(rect);
}

} // namespace

TmmDirtyWarning1::TmmDirtyWarning1(QWidget *parent)
    : QDialog(parent)
    , Bevel1(new QFrame(this))
    , Label1(new QLabel(kpx::qtText(kpx::texts::kQuestionLine1), this))
    , Label2(new QLabel(kpx::qtText(kpx::texts::kQuestionLine2), this))
    , OKBtn(new QPushButton(kpx::qtText(kpx::texts::kQuestionYes), this))
    , bn4vorai(new QPushButton(kpx::qtText(kpx::texts::kQuestionNo), this))
    , CancelBtn(new QPushButton(kpx::qtText(kpx::texts::kQuestionCancel), this))
{
    const qreal factor = dpiFactor(this);
    setObjectName(QStringLiteral("mmDirtyWarning1"));
    setWindowTitle(kpx::qtText(kpx::texts::kQuestionTitle));
    setFont(mingFont(kFormFontPixels));
    setFixedSize(scaledPixels(313, factor), scaledPixels(214, factor));

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(scaledRect(8, 8, 297, 161, factor));

    const QFont controlFont = mingFont(kControlFontPixels);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(controlFont);
    Label1->setAlignment(Qt::AlignCenter);
    placeCentredLabel(Label1, scaledRect(24, 32, 248, 16, factor));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(controlFont);
    Label2->setAlignment(Qt::AlignCenter);
    placeCentredLabel(Label2, scaledRect(24, 96, 257, 16, factor));

    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setFont(controlFont);
    OKBtn->setGeometry(scaledRect(31, 177, 75, 25, factor));
    OKBtn->setDefault(true);
    bn4vorai->setObjectName(QStringLiteral("bn4vorai"));
    bn4vorai->setFont(controlFont);
    bn4vorai->setGeometry(scaledRect(120, 177, 65, 25, factor));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setFont(controlFont);
    CancelBtn->setGeometry(scaledRect(199, 177, 75, 25, factor));
    setTabOrder(OKBtn, bn4vorai);
    setTabOrder(bn4vorai, CancelBtn);

    connect(OKBtn, &QPushButton::clicked, this, &TmmDirtyWarning1::OKBtnClick);
    connect(bn4vorai, &QPushButton::clicked, this, &TmmDirtyWarning1::bn4voraiClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TmmDirtyWarning1::CancelBtnClick);
}

void TmmDirtyWarning1::setAnswers(std::uint8_t yes, std::uint8_t no, std::uint8_t cancel)
{
    answerYes = yes;
    answerNo = no;
    answerCancel = cancel;
}

kpx::DirtyAnswer TmmDirtyWarning1::ask()
{
    setAnswers(0, 0, 0);
    exec();
    if (answerYes)
        return kpx::DirtyAnswer::Yes;
    if (answerNo)
        return kpx::DirtyAnswer::No;
    if (answerCancel)
        return kpx::DirtyAnswer::Cancel;
    return kpx::DirtyAnswer::None;
}

void TmmDirtyWarning1::OKBtnClick()
{
    setAnswers(1, 0, 0);
    done(kResultYes);
}

void TmmDirtyWarning1::bn4voraiClick()
{
    setAnswers(0, 1, 0);
    done(kResultNo);
}

void TmmDirtyWarning1::CancelBtnClick()
{
    setAnswers(0, 0, 1);
    done(kResultCancel);
}

void TmmDirtyWarning1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
    // 是 takes Enter whichever button had the focus when the dialog was last closed.
    OKBtn->setFocus(Qt::OtherFocusReason);
}

void TmmDirtyWarning1::keyPressEvent(QKeyEvent *event)
{
    // Esc is 取消, as if CancelBtn were clicked. QDialog would reject() instead, which is also
    // what the close box does, and the close box must leave the answers unset.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CancelBtn->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
