// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/finding_widgets.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"
#include "workbench/workbench.h"

namespace kpx {

// The rows come from the Workbench one at a time: a list of a million problems costs nothing
// until it is scrolled to.
class ProblemsModel : public QAbstractTableModel {
public:
    explicit ProblemsModel(const Workbench &workbench, QObject *parent)
        : QAbstractTableModel(parent)
        , workbench_(workbench)
    {
    }
    void reset(std::size_t rows)
    {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(rows_, INT32_MAX));
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const Workbench::ProblemRow row = workbench_.problemRow(static_cast<std::size_t>(index.row()));
        switch (index.column()) {
        case 0:
            return qtText(row.line);
        case 1:
            return qtText(row.file);
        default:
            return qtText(row.reason);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        static constexpr std::u16string_view kColumns[]
            = { texts::kProblemsColumnLine, texts::kProblemsColumnFile, texts::kProblemsColumnReason };
        return qtText(kColumns[section]);
    }

private:
    const Workbench &workbench_;
    std::size_t rows_ = 0;
};

ProblemsPanel::ProblemsPanel(Workbench &workbench, QWidget *parent)
    : QWidget(parent)
    , workbench_(workbench)
    , title_(new QLabel(this))
    , list_(new QTableView(this))
    , model_(new ProblemsModel(workbench, this))
{
    setObjectName(QStringLiteral("problemsPanel"));
    title_->setObjectName(QStringLiteral("problemsTitle"));
    list_->setObjectName(QStringLiteral("problemsList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setWordWrap(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(title_);
    layout->addWidget(list_, 1);
    connect(list_, &QAbstractItemView::activated, this,
        [this](const QModelIndex &index) { workbench_.GoToProblem(static_cast<std::size_t>(index.row())); });
    hide();
}

void ProblemsPanel::show(const QString &title, std::size_t rows)
{
    title_->setText(title);
    model_->reset(rows);
    if (rows > 0)
        list_->resizeColumnToContents(0);
    setVisible(rows > 0);
    fitFileColumn();
}

void ProblemsPanel::fitFileColumn()
{
    const int line = list_->columnWidth(0);
    const int room = list_->viewport()->width() - line;
    list_->setColumnWidth(1, std::max({ line * 3, fontMetrics().horizontalAdvance(title_->text()) / 2, room * 2 / 5 }));
}

void ProblemsPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitFileColumn();
}

FindBar::FindBar(Workbench &workbench, QWidget *parent)
    : QWidget(parent)
    , workbench_(workbench)
    , text_(new QLineEdit(this))
    , next_(new QPushButton(qtText(texts::kFindNext), this))
    , previous_(new QPushButton(qtText(texts::kFindPrevious), this))
    , count_(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    text_->setObjectName(QStringLiteral("findText"));
    next_->setObjectName(QStringLiteral("findNext"));
    previous_->setObjectName(QStringLiteral("findPrevious"));
    count_->setObjectName(QStringLiteral("findCount"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(qtText(texts::kFindLabel), this));
    text_->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('m')) * 16);
    layout->addWidget(text_, 1);
    layout->addWidget(next_);
    layout->addWidget(previous_);
    layout->addWidget(count_, 1);
    // Shift+Enter goes backwards, as in most find bars.
    connect(text_, &QLineEdit::returnPressed, this,
        [this] { find(!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)); });
    connect(next_, &QPushButton::clicked, this, [this] { find(true); });
    connect(previous_, &QPushButton::clicked, this, [this] { find(false); });
    hide();
}

void FindBar::open()
{
    setVisible(true);
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

void FindBar::find(bool forwards)
{
    const FindOutcome outcome = workbench_.Find(u16View(text_->text()), forwards);
    count_->setText(qtText(Workbench::findMessage(outcome)));
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kpx
