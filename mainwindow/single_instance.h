// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace kpx {

// One copy of the program at a time for one data directory: two copies would each write their
// own idea of the data and the state file. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, asks the first to come to the front and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // key names the data directory; copies for different directories do not meet.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The key for the program's own directory on the system drive.
    static QString keyForDataDirectory();

    // Takes the lock and starts listening. False when another copy holds the lock.
    bool claim();
    // Asks the copy that holds the lock to come to the front. False when it could not be reached.
    bool callRunningCopy(int timeoutMs = 3000);

signals:
    // A later copy asked this one to come to the front.
    void activationRequested();

private:
    void takeCall();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
};

} // namespace kpx
