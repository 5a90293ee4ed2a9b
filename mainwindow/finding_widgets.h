// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QResizeEvent;
class QLineEdit;
class QPushButton;
class QTableView;

namespace kpx {

class Workbench;
class ProblemsModel;

// The problems list below the editor: a title with the count of lines that made no entry and
// one row per problem (line, file, reason), read from the Workbench as the rows are drawn.
// Activating a row (Enter, double click) goes to its line.
class ProblemsPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProblemsPanel(Workbench &workbench, QWidget *parent = nullptr);
    // Shows rows rows under title; hides the panel when there are none.
    void show(const QString &title, std::size_t rows);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The file column grows with the list, so that include paths show whole.
    void fitFileColumn();

    Workbench &workbench_;
    QLabel *const title_;
    QTableView *const list_;
    ProblemsModel *const model_;
};

// The find bar above the status bar (Ctrl+F): Enter finds forwards, Shift+Enter backwards,
// Esc puts the bar away (closed: the editor takes the focus back).
class FindBar : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(Workbench &workbench, QWidget *parent = nullptr);
    // Shows the bar with the text field focused and its text selected.
    void open();
    void find(bool forwards);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Workbench &workbench_;
    QLineEdit *const text_;
    QPushButton *const next_;
    QPushButton *const previous_;
    QLabel *const count_;
};

} // namespace kpx
