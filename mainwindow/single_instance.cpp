// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/single_instance.h"

#include "platform/native_path.h"
#include "state/slot_names.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace kpx {
namespace {

constexpr char kRaiseRequest[] = "raise\n";

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
{
    // Socket and lock names must be short and free of path characters; the key may be a path.
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    name_ = QStringLiteral("kpxv410-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::keyForDataDirectory()
{
    // The directory of the state file, in its native form: on Windows "C:\vokelu\", elsewhere
    // the directory that stands for the system drive, plus "vokelu/".
    std::string directory = os::nativePath(StateFileName(os::systemDriveLetter()));
    const auto slash = directory.find_last_of("/\\");
    if (slash != std::string::npos)
        directory.resize(slash + 1);
    QString key = QString::fromLocal8Bit(directory.data(), static_cast<qsizetype>(directory.size()));
    const QString canonical = QDir(key).canonicalPath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(key).absolutePath()) : canonical;
}

bool SingleInstance::claim()
{
    // The lock lives in the temporary directory: the program never creates anything in the data
    // directory of its own accord.
    lock_ = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    // A lock left by a copy that crashed is taken over (QLockFile checks whether its owner lives).
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = new QLocalServer(this);
    // A socket left behind by a copy that crashed would block listen().
    QLocalServer::removeServer(name_);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(name_);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::takeCall);
    return true;
}

void SingleInstance::takeCall()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains('\n'))
                emit activationRequested();
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::callRunningCopy(int timeoutMs)
{
    // The first copy may still be starting: try again until it listens.
    const QDeadlineTimer deadline(timeoutMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)))) {
            socket.write(kRaiseRequest);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

} // namespace kpx
