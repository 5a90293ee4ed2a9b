// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/single_instance.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QThread>

#include "platform/native_path.h"
#include "platform/text/qt_text.h"
#include "state/slot_names.h"
#include "workbench/program_texts.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace kpx {
namespace {

constexpr char kRaiseRequest[] = "raise\n";

// The directory that holds the lock: the system's temporary directory. Qt gives an empty path
// when the directory named by TMPDIR does not exist; the name is then taken from TMPDIR itself.
QString lockDirectory()
{
    const QString directory = QDir::tempPath();
    if (!directory.isEmpty())
        return directory;
    return qEnvironmentVariable("TMPDIR");
}

// The owner of a lock file when it is another user: a name, else the number. Empty otherwise.
QString otherOwnerOf(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return {};
#else
    const QFileInfo file(path);
    if (!file.exists() || file.ownerId() == ::geteuid())
        return {};
    const QString name = file.owner();
    return name.isEmpty() ? QString::number(file.ownerId()) : name;
#endif
}

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

QString SingleInstance::lockFilePath() const
{
    return QDir(lockDirectory()).filePath(name_ + QStringLiteral(".lock"));
}

bool SingleInstance::claim()
{
    lockProblem_.clear();
    lockHeld_ = false;
    // The lock lives in the temporary directory: the program never creates anything in the data
    // directory of its own accord. Without that directory a relative lock path would land in the
    // working directory.
    const QString directory = QDir::tempPath();
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) {
        lockProblem_ = qtText(texts::lockDirectoryMissing(u16View(lockDirectory())));
        return false;
    }
    const QString path = lockFilePath();
    lock_ = std::make_unique<QLockFile>(path);
    // A lock left by a copy that crashed is taken over (QLockFile checks whether its owner lives).
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lockHeld_ = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
        if (!lockHeld_) {
            lockProblem_ = qtText(texts::lockDirectoryNotWritable(u16View(QDir::toNativeSeparators(directory))));
        } else if (const QString owner = otherOwnerOf(path); !owner.isEmpty()) {
            lockProblem_ = qtText(texts::lockLeftByOtherUser(u16View(QDir::toNativeSeparators(path)), u16View(owner)));
        } else {
            lockProblem_ = qtText(texts::lockHolderSilent(u16View(QDir::toNativeSeparators(path))));
        }
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

bool claimOrHandOver(SingleInstance &instance, int callTimeoutMs)
{
    if (instance.claim())
        return true;
    // A copy that holds the lock may still be starting; without a lock file nothing can be
    // listening that long.
    if (instance.callRunningCopy(instance.lockHeld() ? callTimeoutMs : std::min(callTimeoutMs, 500)))
        return false;
    QMessageBox box(QMessageBox::Warning, qtText(texts::kProgramTitle),
        instance.lockProblem() + qtText(texts::kStartingAnyway), QMessageBox::Ok);
    box.exec();
    return true;
}

} // namespace kpx
