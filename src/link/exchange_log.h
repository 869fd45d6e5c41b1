#pragma once
#include <QFile>
#include <QString>
#include <cstdint>

// A log of the exchange for support: every frame sent and received, with a
// millisecond time stamp and the outcome, one line each. A user attaches it to
// a report. Lines look like
//   2026-12-08 16:55:01.123 TX    08 f4 01 00 05 01 00 fd
//   2026-12-08 16:55:01.128 ECHO  08 f4 01 00 05 01 00 fd ok
//   2026-12-08 16:55:01.151 RX    26 f4 01 00 05 ... ok
//   2026-12-08 16:55:01.260 RX    (nothing) RS232. No link. Check PC-device connection.
class TExchangeLog {
public:
    TExchangeLog() = default;
    ~TExchangeLog();
    TExchangeLog(const TExchangeLog &) = delete;
    TExchangeLog &operator=(const TExchangeLog &) = delete;

    // Appends to the file; false with ErrorText() when it cannot be opened.
    bool Open(const QString &path);
    void Close();
    bool IsOpen() const { return m_file.isOpen(); }
    QString ErrorText() const { return m_error; }

    // kind: "TX", "ECHO", "RX"; outcome: "ok", an error text, or empty.
    void Frame(const char *kind, const uint8_t *bytes, int count, const QString &outcome);
    void Note(const QString &text); // attempts, pauses, the transfer's steps

private:
    void line(const QByteArray &text);
    QFile m_file;
    QString m_error;
};

// Opens the log that a program's --log option names; an empty path asks for
// none (true, nothing opened). The first line is the command line, so that a
// report says what was run. false with log.ErrorText() when it cannot be opened.
bool OpenSupportLog(TExchangeLog &log, const QString &path);
