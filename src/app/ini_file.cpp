#include "ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TMIniFile::TMIniFile(const QString &path) : m_path(path)
{
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(" \n");
    }
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

TMIniFile::~TMIniFile() = default;

QString TMIniFile::findKey(const QString &section, const QString &key) const
{
    const QString exact = section + QLatin1Char('/') + key;
    if (m_settings->contains(exact))
        return exact;
    const QStringList keys = m_settings->allKeys();
    for (const QString &k : keys)
        if (k.compare(exact, Qt::CaseInsensitive) == 0)
            return k;
    return {};
}

bool TMIniFile::ValueExists(const QString &section, const QString &key) const
{
    return !findKey(section, key).isEmpty();
}

QString TMIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const QString k = findKey(section, key);
    if (k.isEmpty())
        return def;
    const QVariant v = m_settings->value(k);
    // A value with commas reads back as a list.
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
}

int TMIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    const QString text = ReadString(section, key, QString()).trimmed();
    bool ok = false;
    int value = text.toInt(&ok);
    if (!ok && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    return ok ? value : def;
}

bool TMIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QString k = findKey(section, key);
    if (k.isEmpty())
        k = section + QLatin1Char('/') + key;
    m_settings->setValue(k, value);
}

void TMIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TMIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TMIniFile::UpdateFile()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
