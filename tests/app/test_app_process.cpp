// The program as a process: the single-instance guard, the start-up road and
// the end of the demo device with the program.
#include "app_test_support.h"
#include "just_one.h"
#include "settings_file.h"
#include "test_models.h"
#include "tmk.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <csignal>

namespace {

// The child of `parent` whose program is `name`, 0 when there is none yet.
qint64 childNamed(qint64 parent, const QByteArray &name)
{
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        // "PID (COMM) STATE PPID ..."
        const QByteArray stat = ReadAll(QStringLiteral("/proc/%1/stat").arg(pid));
        const qsizetype close = stat.lastIndexOf(')');
        const qsizetype open = stat.indexOf('(');
        if (close < 0 || open < 0)
            continue;
        const QList<QByteArray> rest = stat.mid(close + 2).split(' ');
        if (rest.size() > 1 && rest[1].toLongLong() == parent && stat.mid(open + 1, close - open - 1) == name)
            return pid.toLongLong();
    }
    return 0;
}

// Ended: gone, or a zombie that only waits for whoever adopted it.
bool ended(qint64 pid)
{
    const QByteArray stat = ReadAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return stat.isEmpty() || (close > 0 && stat.mid(close + 2, 1) == "Z");
}

} // namespace

class TestAppProcess : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    TDemoDevice m_sim;
    QString m_port;

    QString m_locks;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TRIPCONF_LOCK_DIR"), m_locks);
        return env;
    }

    // Each test its own lock folder, so that the lock file appears only when
    // the copy under test takes it.
    void useLockFolder(const QString &name)
    {
        m_locks = m_dir.filePath(name);
        qputenv("TRIPCONF_LOCK_DIR", m_locks.toUtf8());
    }

    void start(QProcess &p, const QStringList &extra = {})
    {
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(TRIPCONF_PATH), QStringList{QStringLiteral("--port"), m_port, QStringLiteral("--ini"),
                                                           m_dir.filePath(QStringLiteral("tripconf.ini"))} +
                                                   extra);
        QVERIFY(p.waitForStarted(5000));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (SimulatorProgram().isEmpty())
            QSKIP("the device simulator is not built");
        m_port = m_sim.Start({QStringLiteral("--echo")}, SimulatorProgram());
        QVERIFY(!m_port.isEmpty());
    }

    void startsAndShowsTheWindow()
    {
        useLockFolder(QStringLiteral("locks-show"));
        QProcess p;
        start(p, {QStringLiteral("--exit-when-shown")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("shown"));
    }

    void demoStartsTheSimulatorAsItsPort()
    {
        useLockFolder(QStringLiteral("locks-demo"));
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(TRIPCONF_PATH), {QStringLiteral("--demo"), QStringLiteral("--exit-when-shown"),
                                                QStringLiteral("--ini"), m_dir.filePath(QStringLiteral("demo.ini"))});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("shown"));
    }

    void demoSimulatorEndsWithTheProgram_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM: the program quits as when closed") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGKILL") << int(SIGKILL);
    }
    void demoSimulatorEndsWithTheProgram()
    {
        QFETCH(int, signalNumber);
        useLockFolder(QStringLiteral("locks-demo-%1").arg(signalNumber));
        const QString ini = m_dir.filePath(QStringLiteral("demo-%1.ini").arg(signalNumber));
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(TRIPCONF_PATH), {QStringLiteral("--demo"), QStringLiteral("--ini"), ini});
        QVERIFY(p.waitForStarted(5000));
        qint64 sim = 0;
        QTRY_VERIFY_WITH_TIMEOUT((sim = childNamed(p.processId(), "tripsim")) != 0, 10000);
        QTest::qWait(300);
        ::kill(pid_t(p.processId()), signalNumber);
        QVERIFY(p.waitForFinished(10000));
        if (signalNumber == SIGKILL) {
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        } else {
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(QString::fromUtf8(ReadAll(ini)).contains(QLatin1String("[MainWindow]")));
        }
        QTRY_VERIFY_WITH_TIMEOUT(ended(sim), 5000);
    }

    void guardWithoutALockStillStarts()
    {
        // The lock's folder cannot be made: its parent is a file.
        QFile blocker(m_dir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        useLockFolder(QStringLiteral("not-a-folder/locks"));
        QProcess p;
        start(p, {QStringLiteral("--exit-when-shown")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("shown"));
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(m_locks));
    }

    void secondCopyEndsSilently()
    {
        useLockFolder(QStringLiteral("locks-two"));
        QProcess first;
        start(first);
        // The lock file appears when the first copy takes the guard; probing
        // the lock before that could make the first copy the second one.
        const QString lock = TJustOne::LockPath(QStringLiteral("tripconf"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);
        QTest::qWait(300);
        {
            TJustOne probe(QStringLiteral("tripconf"));
            QVERIFY(!probe.owner());
        }
        QCOMPARE(first.state(), QProcess::Running);

        QProcess second;
        start(second, {QStringLiteral("--exit-when-shown")});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty()); // no window was shown
        QCOMPARE(first.state(), QProcess::Running);

        // A copy that dies leaves nothing that blocks the next start.
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        TJustOne after(QStringLiteral("tripconf"));
        QVERIFY(after.owner());
    }
    // A copy started with a file while one runs hands the file over and ends;
    // the running copy opens it as a load does (and so keeps its folder for
    // the next load dialog, which the ini file shows at the end).
    void secondCopyHandsItsFileToTheFirst()
    {
        useLockFolder(QStringLiteral("locks-file"));
        const QString ini = m_dir.filePath(QStringLiteral("handed.ini"));
        const QString folder = m_dir.filePath(QStringLiteral("handed"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/car.kelmg");
        SaveSettingsFile(*MakeModel(0x4010), file);

        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(QStringLiteral(TRIPCONF_PATH), {QStringLiteral("--port"), m_port, QStringLiteral("--ini"), ini});
        QVERIFY(first.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(TInstanceChannel::SocketPath(QStringLiteral("tripconf"))), 10000);

        for (const QStringList &args : {QStringList{}, QStringList{QStringLiteral("car.kelmg")}}) {
            QProcess second;
            second.setProcessEnvironment(environment());
            second.setWorkingDirectory(folder); // a name relative to where the copy was started
            second.start(QStringLiteral(TRIPCONF_PATH), args);
            QVERIFY(second.waitForFinished(10000));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(first.state(), QProcess::Running);
        }
        QTest::qWait(500);
        ::kill(pid_t(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
        QSettings kept(ini, QSettings::IniFormat);
        QCOMPARE(kept.value(QStringLiteral("Folders/Settings")).toString(), folder);
    }
};

QTEST_MAIN(TestAppProcess)
#include "test_app_process.moc"
