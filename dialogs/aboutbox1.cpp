// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/aboutbox1.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "dialogs/dialog_placement.h"
#include "dialogs/dialog_resources.h"
#include "dialogs/fonts.h"
#include "workbench/handbook_text.h"

namespace {

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kFontPixels = 11;

// A label that sizes itself to its text, at a 96 dpi position.
void placeLabel(QLabel *label, int x, int y, qreal factor)
{
    label->move(scaledPixels(x, factor), scaledPixels(y, factor));
    label->adjustSize();
}

} // namespace

Taboutbox1::Taboutbox1(QWidget *parent)
    : QDialog(parent)
    , Panel1(new QFrame(this))
    , ProgramIcon(new QLabel(Panel1))
    , ProductName(new QLabel(utf8(kpx::kAboutProductName), Panel1))
    , Version(new QLabel(utf8(kpx::kAboutVersion), Panel1))
    , Comments(new QLabel(utf8(kpx::kAboutComments), Panel1))
    , Label1(new QLabel(utf8(kpx::kAboutContact[0]), Panel1))
    , Label2(new QLabel(utf8(kpx::kAboutContact[1]), Panel1))
    , Label3(new QLabel(utf8(kpx::kAboutContact[2]), Panel1))
    , Label4(new QLabel(utf8(kpx::kAboutContact[3]), Panel1))
    , OKButton(new QPushButton(QStringLiteral("OK"), this))
{
    const qreal factor = dpiFactor(this);
    setObjectName(QStringLiteral("aboutbox1"));
    setWindowTitle(utf8(kpx::kAboutTitle));
    setFont(mingFont(kFontPixels));
    setFixedSize(scaledPixels(379, factor), scaledPixels(213, factor));

    Panel1->setObjectName(QStringLiteral("Panel1"));
    // Lowered outside, raised inside: a groove round the panel, in the dialog's colour.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(scaledRect(8, 16, 353, 161, factor));

    initDialogResources();
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/kpx/icons/kpxv410-256.png")));
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setGeometry(scaledRect(8, 8, 65, 57, factor));

    ProductName->setObjectName(QStringLiteral("ProductName"));
    placeLabel(ProductName, 88, 16, factor);
    Version->setObjectName(QStringLiteral("Version"));
    placeLabel(Version, 88, 40, factor);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setWordWrap(true);
    Comments->setGeometry(scaledRect(8, 96, 65, 16, factor));
    Label1->setObjectName(QStringLiteral("Label1"));
    placeLabel(Label1, 80, 96, factor);
    Label2->setObjectName(QStringLiteral("Label2"));
    placeLabel(Label2, 80, 112, factor);
    Label3->setObjectName(QStringLiteral("Label3"));
    placeLabel(Label3, 176, 96, factor);
    Label4->setObjectName(QStringLiteral("Label4"));
    placeLabel(Label4, 80, 136, factor);

    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(scaledRect(151, 180, 75, 25, factor));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { done(kResultOk); });
}

void Taboutbox1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
    OKButton->setFocus(Qt::OtherFocusReason);
}
