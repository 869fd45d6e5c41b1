#include "demo_device.h"

#include "app_paths.h"
#include "language.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

TDemoDevice::~TDemoDevice() { Stop(); }

QString TDemoDevice::SimulatorPath()
{
#ifdef Q_OS_WIN
    return QDir(ProgramFolder()).filePath(QStringLiteral("tripsim.exe"));
#else
    return QDir(ProgramFolder()).filePath(QStringLiteral("tripsim"));
#endif
}

QString TDemoDevice::Start(const QStringList &arguments, const QString &program)
{
    Stop();
    const QString path = program.isEmpty() ? SimulatorPath() : program;
    if (!QFileInfo(path).isExecutable()) {
        m_error = LangText("The device simulator %1 was not found.", "Не найден имитатор устройства %1.").arg(path);
        return {};
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(path);
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // However the program ends (even killed), the simulator ends with it; it
    // saves and cleans up on SIGTERM as when it is stopped here.
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) // the program died before the line above
            ::_exit(1);
    });
#endif
    m_process->start();
    if (!m_process->waitForStarted(5000)) {
        m_error = LangText("The device simulator could not be started: %1", "Не удалось запустить имитатор: %1")
                      .arg(m_process->errorString());
        m_process.reset();
        return {};
    }
    QElapsedTimer clock;
    clock.start();
    while (!m_process->canReadLine() && clock.elapsed() < 5000 && m_process->state() == QProcess::Running)
        m_process->waitForReadyRead(100);
    const QString line = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    if (line.isEmpty()) {
        m_error =
            LangText("The device simulator did not report its port.", "Имитатор устройства не сообщил свой порт.");
        Stop();
        return {};
    }
    return line;
}

bool TDemoDevice::Running() const { return m_process && m_process->state() == QProcess::Running; }

void TDemoDevice::Stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(2000)) {
            m_process->kill();
            m_process->waitForFinished(2000);
        }
    }
    m_process.reset();
}
