#include "exchange_log.h"

#include "language.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

TExchangeLog::~TExchangeLog() { Close(); }

bool TExchangeLog::Open(const QString &path)
{
    Close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        m_error = LangText("Cannot open the exchange log %1: %2", "Не удаётся открыть журнал обмена %1: %2")
                      .arg(path, m_file.errorString());
        return false;
    }
    m_error.clear();
    return true;
}

void TExchangeLog::Close()
{
    if (m_file.isOpen())
        m_file.close();
}

void TExchangeLog::line(const QByteArray &text)
{
    if (!m_file.isOpen())
        return;
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    m_file.write(stamp + ' ' + text + '\n');
    // A log is most wanted after a crash or a hang: nothing may wait in a buffer.
    m_file.flush();
}

void TExchangeLog::Frame(const char *kind, const uint8_t *bytes, int count, const QString &outcome)
{
    if (!m_file.isOpen())
        return;
    QByteArray text = QByteArray(kind).leftJustified(5, ' ');
    if (count <= 0)
        text += " (nothing)";
    else
        text += ' ' + QByteArray(reinterpret_cast<const char *>(bytes), count).toHex(' ');
    if (!outcome.isEmpty())
        text += ' ' + outcome.toUtf8();
    line(text);
}

void TExchangeLog::Note(const QString &text) { line("--    " + text.toUtf8()); }

bool OpenSupportLog(TExchangeLog &log, const QString &path)
{
    if (path.isEmpty())
        return true;
    if (!log.Open(path))
        return false;
    if (QCoreApplication::instance())
        log.Note(QCoreApplication::arguments().join(QLatin1Char(' ')));
    return true;
}
