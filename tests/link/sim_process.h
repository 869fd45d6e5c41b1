#pragma once
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// One request as the simulator logged it.
struct SimRequest {
    int function = -1;
    QByteArray frame;
    QString outcome;
};

// tripsim as a child process on its own pseudo-terminal, with its request log
// and its memory saved at the end in a temporary folder.
class SimProcess {
public:
    explicit SimProcess(const QStringList &args);
    ~SimProcess();

    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    void stop(); // SIGTERM; the memory is saved
    std::vector<SimRequest> requests() const;
    QByteArray savedImage(uint16_t *deviceType = nullptr); // stops first
    std::vector<int> functions() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_path;
};

// A settings file with a device-sized image laid out by the model, for tripsim.
QString WriteSimSettings(const QString &dir, const QByteArray &image, uint16_t deviceType,
                         const QString &name = QStringLiteral("device.kelmg"));
QByteArray FormattedImage(uint8_t settingsVersion);
