#pragma once
#include <QProcess>
#include <QString>
#include <memory>

// The device simulator as a child process on a pseudo-terminal, for trying the
// program without a device. The simulator prints the terminal's path on its
// first line; it is ended with the program, however the program ends.
class TDemoDevice {
public:
    TDemoDevice() = default;
    ~TDemoDevice();

    // Starts the simulator found beside the program (or `program`); returns
    // the device path, or an empty string with ErrorText() set.
    QString Start(const QStringList &arguments = {}, const QString &program = QString());
    void Stop();
    QString ErrorText() const { return m_error; }
    bool Running() const;

    static QString SimulatorPath(); // tripsim beside the program

private:
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};
