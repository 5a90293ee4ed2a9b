// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;
class QLockFile;

namespace kpx {

// One copy of the program at a time for one data directory: two copies would each write their
// own idea of the data and the state file. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, asks the first to come to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // key names the data directory; copies for different directories do not meet.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The key for the program's own directory on the system drive.
    static QString keyForDataDirectory();

    // Takes the lock and starts listening. False when another copy holds the lock, or when the
    // lock cannot be made at all; lockProblem() then tells why.
    bool claim();
    // Why the last claim failed, in the program's words; empty after a claim that succeeded.
    const QString &lockProblem() const { return lockProblem_; }
    // True when the last claim failed because a lock file stands there already.
    bool lockHeld() const { return lockHeld_; }
    QString lockFilePath() const;
    // Asks the copy that holds the lock to come to the front. False when it could not be reached.
    bool callRunningCopy(int timeoutMs = 3000);

signals:
    // A later copy asked this one to come to the front.
    void activationRequested();

private:
    void takeCall();

    QString name_;
    QString lockProblem_;
    bool lockHeld_ = false;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
};

// Decides at start whether this copy goes on: yes when it takes the lock; no when another copy
// holds it and answers (that copy comes to the front). When the lock cannot be taken and no copy
// answers, the user is told why in a message box and this copy goes on without the lock.
bool claimOrHandOver(SingleInstance &instance, int callTimeoutMs = 3000);

} // namespace kpx
