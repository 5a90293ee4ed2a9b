// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"

// Helpers for driving the program's windows from a test: modal dialogs are answered from a timer
// that runs inside their event loop.

// The bytes of a file; an empty array when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The text the notice dialog shows for text: the dialog keeps "\r\n" as one line break, so a
// notice is compared with what the dialog makes of the expected text.
inline QString noticeShows(const QString &text)
{
    Tokmes1 probe;
    probe.setMessage(text);
    return probe.message();
}

// What a modal window said: its kind and its text.
struct ModalSeen {
    QString kind; // "notice", "question", "error", "confirm", "about" or the class name
    QString title;
    QString text;
};

inline ModalSeen describeModal(QWidget *widget)
{
    ModalSeen seen;
    seen.title = widget->windowTitle();
    if (auto *notice = qobject_cast<Tokmes1 *>(widget)) {
        seen.kind = QStringLiteral("notice");
        seen.text = notice->message();
    } else if (qobject_cast<TmmDirtyWarning1 *>(widget)) {
        seen.kind = QStringLiteral("question");
    } else if (auto *box = qobject_cast<QMessageBox *>(widget)) {
        seen.kind = box->icon() == QMessageBox::Critical ? QStringLiteral("error") : QStringLiteral("confirm");
        seen.text = box->text();
    } else {
        seen.kind = QString::fromLatin1(widget->metaObject()->className());
    }
    return seen;
}

// Answers the modal windows that open while it lives, in turn, with the given actions; records
// what each one said. A modal window that opens when no action is left is closed and recorded
// as unexpected, so that a wrong turn fails the test instead of hanging it. When several live
// at once, the one made last answers.
class ModalAnswers : public QObject {
public:
    using Action = std::function<void(QWidget *)>;

    explicit ModalAnswers(QList<Action> actions = {})
        : actions_(std::move(actions))
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &ModalAnswers::poll);
        timer_.start();
        stack().append(this);
    }
    ~ModalAnswers() override { stack().removeOne(this); }

    const QList<ModalSeen> &seen() const { return seen_; }
    int unexpected() const { return unexpected_; }
    bool allAnswered() const { return next_ == actions_.size(); }

private:
    static QList<ModalAnswers *> &stack()
    {
        static QList<ModalAnswers *> answering;
        return answering;
    }

    void poll()
    {
        if (stack().isEmpty() || stack().last() != this)
            return;
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == handled_)
            return;
        handled_ = modal;
        seen_.append(describeModal(modal));
        if (next_ < actions_.size()) {
            const Action action = actions_.at(next_++);
            action(modal);
        } else {
            ++unexpected_;
            modal->close();
        }
    }

    QTimer timer_;
    QList<Action> actions_;
    qsizetype next_ = 0;
    QPointer<QWidget> handled_;
    QList<ModalSeen> seen_;
    int unexpected_ = 0;
};

// Common answers.
inline void pressButton(QWidget *dialog, const char *name)
{
    if (auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(name)))
        button->click();
}
inline ModalAnswers::Action answerYes()
{
    return [](QWidget *w) { pressButton(w, "OKBtn"); };
}
inline ModalAnswers::Action answerNo()
{
    return [](QWidget *w) { pressButton(w, "bn4vorai"); };
}
inline ModalAnswers::Action answerCancel()
{
    return [](QWidget *w) { pressButton(w, "CancelBtn"); };
}
inline ModalAnswers::Action closeBox()
{
    return [](QWidget *w) { w->close(); };
}
inline ModalAnswers::Action acknowledge()
{
    return [](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->close();
        } else {
            pressButton(w, "OKBtn");
        }
    };
}
inline ModalAnswers::Action confirmWith(QMessageBox::StandardButton which)
{
    // The window's yes/no questions carry the program's own button texts, never Qt's.
    return [which](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        const QMessageBox::ButtonRole role = which == QMessageBox::Yes ? QMessageBox::YesRole : QMessageBox::NoRole;
        const QString text = QString::fromUtf16(which == QMessageBox::Yes ? u"是" : u"毋是");
        if (box) {
            for (QAbstractButton *button : box->buttons()) {
                if (box->buttonRole(button) == role && button->text() == text) {
                    button->click();
                    return;
                }
            }
        }
        w->close();
    };
}
