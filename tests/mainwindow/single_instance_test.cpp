// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "mainwindow/single_instance.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void secondClaimFails();
    void differentKeysDoNotMeet();
    void laterCopyCallsTheFirst();
    void lockIsFreedWithItsHolder();
    void keyFollowsTheDriveDirectory();
    void secondProgramExitsAndRaisesTheFirst();
    void missingLockDirectoryIsToldAndTheCopyStarts();
    void lockNobodyAnswersForIsToldAndTheCopyStarts();
    void programStartsDespiteALockNobodyAnswersFor();
};

namespace {

// Runs claimOrHandOver, answering the message box it may show; returns its result and the
// box's text (empty when none came up).
std::pair<bool, QString> claimAnsweringTheBox(kpx::SingleInstance &instance)
{
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(20);
    const bool goesOn = kpx::claimOrHandOver(instance, 300);
    return { goesOn, shown };
}

// Sets TMPDIR for one test and puts the old value back.
struct TemporaryDirectoryVariable {
    explicit TemporaryDirectoryVariable(const QString &value)
        : old(qgetenv("TMPDIR"))
        , wasSet(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(value));
    }
    ~TemporaryDirectoryVariable()
    {
        if (wasSet)
            qputenv("TMPDIR", old);
        else
            qunsetenv("TMPDIR");
    }
    QByteArray old;
    bool wasSet;
};

} // namespace

void SingleInstanceTest::secondClaimFails()
{
    const QString key = u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-a"_s;
    kpx::SingleInstance first(key);
    kpx::SingleInstance second(key);
    QVERIFY(first.claim());
    QVERIFY(!second.claim());
}

void SingleInstanceTest::differentKeysDoNotMeet()
{
    const QString base = u"test-"_s + QString::number(QCoreApplication::applicationPid());
    kpx::SingleInstance first(base + u"-b"_s);
    kpx::SingleInstance other(base + u"-c"_s);
    QVERIFY(first.claim());
    QVERIFY(other.claim());
}

void SingleInstanceTest::laterCopyCallsTheFirst()
{
    const QString key = u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-d"_s;
    kpx::SingleInstance first(key);
    QVERIFY(first.claim());
    QSignalSpy called(&first, &kpx::SingleInstance::activationRequested);
    kpx::SingleInstance second(key);
    QVERIFY(!second.claim());
    QVERIFY(second.callRunningCopy());
    QVERIFY(called.wait(3000) || called.size() == 1);
    QCOMPARE(called.size(), 1);
}

void SingleInstanceTest::lockIsFreedWithItsHolder()
{
    const QString key = u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-e"_s;
    {
        kpx::SingleInstance first(key);
        QVERIFY(first.claim());
    }
    kpx::SingleInstance next(key);
    QVERIFY(next.claim());
    // Nobody listens for a key never claimed.
    kpx::SingleInstance lonely(key + u"-nobody"_s);
    QVERIFY(!lonely.callRunningCopy(200));
}

void SingleInstanceTest::keyFollowsTheDriveDirectory()
{
    QTemporaryDir one;
    QTemporaryDir two;
    qputenv("KPX_DRIVE", QFile::encodeName(one.path()));
    const QString keyOne = kpx::SingleInstance::keyForDataDirectory();
    qputenv("KPX_DRIVE", QFile::encodeName(two.path()));
    const QString keyTwo = kpx::SingleInstance::keyForDataDirectory();
    QVERIFY(keyOne != keyTwo);
    QVERIFY(keyOne.startsWith(QDir(one.path()).canonicalPath()));
    // Naming the directory creates nothing.
    QVERIFY(!QFileInfo::exists(one.path() + u"/vokelu"_s));
    qunsetenv("KPX_DRIVE");
}

void SingleInstanceTest::secondProgramExitsAndRaisesTheFirst()
{
    QTemporaryDir drive;
    QVERIFY(QDir().mkpath(drive.path() + u"/vokelu"_s));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KPX_DRIVE"_s, drive.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(KPX_PROGRAM));
    QVERIFY(first.waitForStarted());
    // Wait until it holds the lock: a second copy started now must end by itself.
    QProcess second;
    second.setProcessEnvironment(environment);
    QElapsedTimer waited;
    waited.start();
    bool secondEnded = false;
    while (waited.elapsed() < 10000 && !secondEnded) {
        QTest::qWait(200);
        QVERIFY(first.state() == QProcess::Running);
        second.start(QStringLiteral(KPX_PROGRAM));
        QVERIFY(second.waitForStarted());
        secondEnded = second.waitForFinished(3000);
        if (!secondEnded) {
            // It became the first copy: the lock was not taken yet. Stop it and try again.
            second.kill();
            second.waitForFinished();
        }
    }
    QVERIFY(secondEnded);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    QVERIFY(first.waitForFinished());
    // Neither copy made anything in the data directory.
    QCOMPARE(QDir(drive.path() + u"/vokelu"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void SingleInstanceTest::missingLockDirectoryIsToldAndTheCopyStarts()
{
    QTemporaryDir scratch;
    const QString missing = scratch.path() + u"/missing"_s;
    const TemporaryDirectoryVariable tmpdir(missing);
    kpx::SingleInstance instance(u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-f"_s);
    const auto [goesOn, shown] = claimAnsweringTheBox(instance);
    QVERIFY(goesOn);
    QVERIFY2(shown.contains(missing), qPrintable(shown));
    QVERIFY(!QFileInfo::exists(missing));
    // Nor in the working directory, where a lock path without its directory would have led.
    QVERIFY(!QFileInfo::exists(QFileInfo(instance.lockFilePath()).fileName()));
}

void SingleInstanceTest::lockNobodyAnswersForIsToldAndTheCopyStarts()
{
    QTemporaryDir lockDirectory;
    const TemporaryDirectoryVariable tmpdir(lockDirectory.path());
    kpx::SingleInstance instance(u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-g"_s);
    // A lock this user cannot take over or remove, as one left behind by another user.
    QVERIFY(QDir().mkdir(instance.lockFilePath()));
    bool otherOwner = false;
#ifndef Q_OS_WIN
    otherOwner = ::chown(QFile::encodeName(instance.lockFilePath()).constData(), 65534, 65534) == 0;
#endif
    const auto [goesOn, shown] = claimAnsweringTheBox(instance);
    QVERIFY(goesOn);
    QVERIFY2(shown.contains(QDir::toNativeSeparators(instance.lockFilePath())), qPrintable(shown));
    if (otherOwner)
        QVERIFY2(shown.contains(u"別的使用者"_s), qPrintable(shown));
    // A copy that does answer still takes the start over, without a box.
    kpx::SingleInstance first(u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-h"_s);
    QVERIFY(first.claim());
    kpx::SingleInstance second(u"test-"_s + QString::number(QCoreApplication::applicationPid()) + u"-h"_s);
    const auto [secondGoesOn, secondShown] = claimAnsweringTheBox(second);
    QVERIFY(!secondGoesOn);
    QVERIFY(secondShown.isEmpty());
}

void SingleInstanceTest::programStartsDespiteALockNobodyAnswersFor()
{
    QTemporaryDir drive;
    QTemporaryDir lockDirectory;
    QString lockPath;
    {
        const TemporaryDirectoryVariable tmpdir(lockDirectory.path());
        qputenv("KPX_DRIVE", QFile::encodeName(drive.path()));
        lockPath = kpx::SingleInstance(kpx::SingleInstance::keyForDataDirectory()).lockFilePath();
        qunsetenv("KPX_DRIVE");
    }
    // A lock the program can neither take over nor remove.
    QVERIFY(QDir().mkdir(lockPath));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KPX_DRIVE"_s, drive.path());
    environment.insert(u"TMPDIR"_s, lockDirectory.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KPX_PROGRAM));
    QVERIFY(program.waitForStarted());
    // Longer than a call to a running copy may take: the program waits at its message now.
    QVERIFY2(!program.waitForFinished(5000), "the program ended instead of starting");
    program.kill();
    QVERIFY(program.waitForFinished());
}

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
