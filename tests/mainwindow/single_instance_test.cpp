// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondClaimFails();
    void differentKeysDoNotMeet();
    void laterCopyCallsTheFirst();
    void lockIsFreedWithItsHolder();
    void keyFollowsTheDriveDirectory();
    void secondProgramExitsAndRaisesTheFirst();
};

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

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
