// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/okmes1.h"

#include <algorithm>
#include <cmath>

#include <QFrame>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include "dialogs/dialog_placement.h"
#include "dialogs/fonts.h"
#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"

namespace {

// The notice keeps its pixel layout on every screen: the text box is sized for 16 pixel Ming
// characters, and scaling one without the other would cut lines off.
constexpr qreal kNoScaling = 1.0;
constexpr int kFontPixels = 16;
// The design's layout, which a longer message stretches downwards.
constexpr int kWidth = 345;
constexpr int kHeight = 214;
constexpr int kBevelHeight = 161;
constexpr int kMemoWidth = 305;
constexpr int kMemoHeight = 129;
constexpr int kButtonY = 180;

} // namespace

Tokmes1::Tokmes1(QWidget *parent)
    : QDialog(parent)
    , Bevel1(new QFrame(this))
    , Memo1(new QTextEdit(this))
    , OKBtn(new QPushButton(kpx::qtText(kpx::texts::kCaption_OK), this))
{
    setObjectName(QStringLiteral("okmes1"));
    setWindowTitle(kpx::qtText(kpx::texts::kNoticeTitle));
    setFont(unscaledMingFont(kFontPixels));
    setFixedSize(kWidth, kHeight);

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(scaledRect(8, 8, 321, kBevelHeight, kNoScaling));

    // A block of centred text on the dialog's own grey, not an edit box.
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(scaledRect(16, 24, kMemoWidth, kMemoHeight, kNoScaling));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setAcceptRichText(false);
    QTextOption option = Memo1->document()->defaultTextOption();
    option.setAlignment(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->document()->setDefaultTextOption(option);
    QPalette memoPalette = Memo1->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    Memo1->setPalette(memoPalette);

    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(scaledRect(143, kButtonY, 75, 25, kNoScaling));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(kResultOk); });
}

void Tokmes1::setMessage(const QString &text)
{
    // The callers separate lines the Windows way; a lone CR or LF breaks a line as well.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(lines);
    fitToMessage();
}

void Tokmes1::fitToMessage()
{
    // The message's height when wrapped at the box's width, as the box lays it out.
    QTextDocument *const document = Memo1->document();
    document->setTextWidth(kMemoWidth);
    const int textHeight = static_cast<int>(std::ceil(document->size().height()));
    int extra = std::max(0, textHeight - kMemoHeight);
    // Past the screen's height the box scrolls after all.
    if (const QScreen *screen = this->screen())
        extra = std::min(extra, std::max(0, screen->availableGeometry().height() - kHeight - 40));
    setFixedSize(kWidth, kHeight + extra);
    Bevel1->setGeometry(8, 8, 321, kBevelHeight + extra);
    Memo1->setGeometry(16, 24, kMemoWidth, kMemoHeight + extra);
    OKBtn->setGeometry(143, kButtonY + extra, 75, 25);
}

QString Tokmes1::message() const
{
    return Memo1->toPlainText();
}

void Tokmes1::notice(const QString &text)
{
    setMessage(text);
    exec();
}

void Tokmes1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
    OKBtn->setFocus(Qt::OtherFocusReason);
}
