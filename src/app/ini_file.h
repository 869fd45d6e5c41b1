#pragma once
#include <QSettings>
#include <QString>
#include <memory>

// The program's ini file. Booleans are stored as "1"/"0" and any non-zero
// integer reads as true; numbers use the C locale; keys are found without
// regard to case, as a hand-edited file may spell them differently.
class TMIniFile {
public:
    // Opens the file, creating it first (one line with a single space) when it
    // does not exist.
    explicit TMIniFile(const QString &path);
    ~TMIniFile();

    const QString &FileName() const { return m_path; }
    QSettings &Settings() { return *m_settings; } // for the port's own keys

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    bool ValueExists(const QString &section, const QString &key) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Writes the file; false when it cannot be written.
    bool UpdateFile();

private:
    QString findKey(const QString &section, const QString &key) const; // "Section/Key" as stored, or empty

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};
