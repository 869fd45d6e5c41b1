// The program as a process: the single-instance guard and the start-up road.
#include "app_test_support.h"
#include "just_one.h"

#include <QProcess>
#include <QtTest>

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
        p.start(QStringLiteral(TRIPCONF_PATH),
                QStringList{QStringLiteral("--port"), m_port, QStringLiteral("--ini"),
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
        p.start(QStringLiteral(TRIPCONF_PATH),
                {QStringLiteral("--demo"), QStringLiteral("--exit-when-shown"), QStringLiteral("--ini"),
                 m_dir.filePath(QStringLiteral("demo.ini"))});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("shown"));
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
};

QTEST_MAIN(TestAppProcess)
#include "test_app_process.moc"
