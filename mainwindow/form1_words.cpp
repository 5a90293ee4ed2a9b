// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: words in and out (import, export) and the questions they ask: Qt's file dialog and a
// choice between buttons.
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeView>

#include "mainwindow/form1.h"
#include "platform/text/qt_text.h"
#include "workbench/program_texts.h"

namespace {

// "*.dict.yaml;*.yml" as Qt's name filter lists patterns.
QString qtPatterns(const std::u16string &patterns)
{
    return kpx::qtText(patterns).split(u';', Qt::SkipEmptyParts).join(u' ');
}

// Qt's dialog opens at a size that cuts its detail columns (type, date) short: give it room, and
// let the name column take what the others leave.
void fitFileDialog(QFileDialog &dialog)
{
    const QFontMetrics metrics(dialog.font());
    const QSize wanted(metrics.averageCharWidth() * 110, metrics.height() * 28);
    dialog.resize(dialog.sizeHint().expandedTo(wanted));
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

// The extension a name typed without one gets: the first pattern's, "dict.yaml" for "*.dict.yaml".
QString defaultSuffix(const std::u16string &patterns)
{
    const QString first = kpx::qtText(patterns).section(u';', 0, 0);
    return first.startsWith(QLatin1String("*.")) && first.lastIndexOf(u'*') == 0 ? first.mid(2) : QString();
}

} // namespace

void TForm1::setupWordsMenu()
{
    mnBr3 = new QAction(this);
    mnBr3->setObjectName(QStringLiteral("mnBr3"));
    mnBr3->setSeparator(true);
    mnImport1 = new QAction(kpx::qtText(kpx::texts::kMenuImport), this);
    mnImport1->setObjectName(QStringLiteral("mnImport1"));
    mnExport1 = new QAction(kpx::qtText(kpx::texts::kMenuExport), this);
    mnExport1->setObjectName(QStringLiteral("mnExport1"));
    mnF1->insertActions(N1, { mnBr3, mnImport1, mnExport1 });
    connect(mnImport1, &QAction::triggered, this, &TForm1::mnImport1Click);
    connect(mnExport1, &QAction::triggered, this, &TForm1::mnExport1Click);
}

void TForm1::mnImport1Click()
{
    workbench_->ImportWords();
}

void TForm1::mnExport1Click()
{
    workbench_->ExportWords();
}

void TForm1::appendEditorText(std::u16string_view text)
{
    // One insertion at the end: one step for Ctrl+Z, and only the new lines are laid out.
    QTextCursor cursor(mm4indata1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(kpx::qtText(text));
}

bool TForm1::askFilePath(bool saving, std::u16string_view title, const std::vector<kpx::FileType> &types,
    std::u16string &path, std::size_t &type)
{
    QFileDialog dialog(this, kpx::qtText(title));
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const kpx::FileType &fileType : types)
        filters.append(kpx::qtText(fileType.name) + QLatin1String(" (") + qtPatterns(fileType.patterns) + u')');
    dialog.setNameFilters(filters);
    if (type < types.size()) {
        dialog.selectNameFilter(filters.at(static_cast<qsizetype>(type)));
        dialog.setDefaultSuffix(defaultSuffix(types[type].patterns));
    }
    // The name typed gets the extension of the type selected, before the dialog asks about
    // replacing a file of that name.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &filters, &types](const QString &filter) {
        const qsizetype index = filters.indexOf(filter);
        if (index >= 0)
            dialog.setDefaultSuffix(defaultSuffix(types[static_cast<std::size_t>(index)].patterns));
    });
    if (!path.empty() && (path.back() == u'/' || path.back() == u'\\'))
        dialog.setDirectory(kpx::qtText(path));
    else if (!path.empty())
        dialog.selectFile(kpx::qtText(path));
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = std::u16string(kpx::u16View(dialog.selectedFiles().constFirst()));
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        type = static_cast<std::size_t>(chosen);
    return true;
}

int TForm1::askChoice(std::u16string_view text, const std::vector<std::u16string> &choices)
{
    QMessageBox box(
        QMessageBox::Question, kpx::qtText(kpx::texts::kProgramTitle), kpx::qtText(text), QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("choiceBox"));
    std::vector<QPushButton *> buttons;
    for (const std::u16string &choice : choices) {
        buttons.push_back(box.addButton(kpx::qtText(choice), QMessageBox::AcceptRole));
        buttons.back()->setObjectName(QStringLiteral("choice%1").arg(buttons.size() - 1));
    }
    QPushButton *cancel = box.addButton(kpx::qtText(kpx::texts::kQuestionCancel), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("choiceCancel"));
    box.setEscapeButton(cancel);
    if (!buttons.empty())
        box.setDefaultButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return static_cast<int>(i);
    }
    return -1;
}
