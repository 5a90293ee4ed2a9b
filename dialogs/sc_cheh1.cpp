// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/sc_cheh1.h"

#include <QKeyEvent>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialog_placement.h"
#include "dialogs/fonts.h"
#include "dialogs/handbook_page.h"
#include "dialogs/handbook_pages.h"

namespace {

constexpr int kFormFontPixels = 11;
constexpr int kPagesFontPixels = 15;
// Room left and right of a tab caption, in 96 dpi pixels. With the usual 24 the six captions
// need more than the window's 533 pixels and the last tab hides behind scroll arrows.
constexpr int kTabPadding = 12;

// The application's style with narrower tabs.
class CompactTabStyle : public QProxyStyle {
public:
    explicit CompactTabStyle(int tabPadding)
        : tabPadding_(tabPadding)
    {
    }

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return tabPadding_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    const int tabPadding_;
};

} // namespace

TSCCheh1::TSCCheh1(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , PageControl1(new QTabWidget(this))
{
    const qreal factor = dpiFactor(this);
    setObjectName(QStringLiteral("SCCheh1"));
    setWindowTitle(QString::fromUtf8(kpx::kHandbookTitle.data(), static_cast<qsizetype>(kpx::kHandbookTitle.size())));
    setFont(mingFont(kFormFontPixels));
    setGeometry(scaledRect(121, 91, 533, 427, factor));

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFont(mingFont(kPagesFontPixels));
    auto *const tabStyle = new CompactTabStyle(scaledPixels(kTabPadding, factor));
    tabStyle->setParent(PageControl1);
    PageControl1->tabBar()->setStyle(tabStyle);
    using Look = HandbookPage::Look;
    static constexpr Look kLooks[kHandbookPageCount]
        = { Look::Grey, Look::NoWrapTabs, Look::NoWrap, Look::Plain, Look::Plain, Look::Plain };
    for (int page = 1; page <= kHandbookPageCount; ++page) {
        auto *const sheet = new HandbookPage(QStringLiteral("TabSheet%1").arg(page), QStringLiteral("Memo%1").arg(page),
            handbookPageText(page), kLooks[page - 1]);
        PageControl1->addTab(sheet, handbookPageCaption(page));
    }
    PageControl1->setCurrentIndex(0);

    auto *const layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
}

void TSCCheh1::showHandbook()
{
    bringToFront(this);
}

void TSCCheh1::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
