#include "sim_process.h"

#include "language.h"
#include "settings_file.h"
#include "tmk.h"

#include <QFile>
#include <gtest/gtest.h>

SimProcess::SimProcess(const QStringList &args)
{
    m_process.setProgram(QStringLiteral(TRIPSIM_PATH));
    m_process.setArguments(args + QStringList{QStringLiteral("--log"), m_dir.filePath(QStringLiteral("sim.log")),
                                              QStringLiteral("--save"), m_dir.filePath(QStringLiteral("saved.kelmg"))});
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        ADD_FAILURE() << "tripsim did not start";
        return;
    }
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (m_path.isEmpty())
        ADD_FAILURE() << "tripsim printed no path: " << m_process.readAllStandardError().toStdString();
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

std::vector<SimRequest> SimProcess::requests() const
{
    std::vector<SimRequest> out;
    QFile f(m_dir.filePath(QStringLiteral("sim.log")));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (!line.startsWith('#') || line.startsWith("#-"))
            continue;
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() < 4)
            continue;
        SimRequest r;
        r.function = parts[1].toInt();
        r.frame = QByteArray::fromHex(parts[2]);
        r.outcome = QString::fromUtf8(line.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3));
        out.push_back(r);
    }
    return out;
}

std::vector<int> SimProcess::functions() const
{
    std::vector<int> out;
    for (const SimRequest &r : requests())
        out.push_back(r.function);
    return out;
}

QByteArray SimProcess::savedImage(uint16_t *deviceType)
{
    stop();
    QFile f(m_dir.filePath(QStringLiteral("saved.kelmg")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray file = f.readAll();
    if (file.size() < 2)
        return {};
    if (deviceType)
        *deviceType = uint16_t(uint8_t(file[0]) | (uint8_t(file[1]) << 8));
    QByteArray image = file.mid(2);
    const auto &key = SettingsFileKey();
    for (int k = 0; k < image.size(); ++k)
        image[k] = char(uint8_t(image[k]) ^ key[size_t(k % 4096)]);
    return image;
}

QString WriteSimSettings(const QString &dir, const QByteArray &image, uint16_t deviceType, const QString &name)
{
    const QString path = dir + QLatin1Char('/') + name;
    SaveSettingsFile(deviceType, image, path);
    return path;
}

QByteArray FormattedImage(uint8_t settingsVersion)
{
    SetEnglishVersion(true);
    TMK model;
    model.FormatImage(settingsVersion);
    QByteArray image = model.SettingsImage;
    // Something other than zeros outside the blocks, so that a misplaced page shows.
    for (int k = 3000; k < image.size(); ++k)
        image[k] = char((k * 7 + k / 32) & 0xFF);
    return image;
}
