#pragma once
#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered by the event
// loop, so that a program told to end (a logout, Ctrl+C in a terminal, kill)
// ends through its normal close path. A second signal ends the program at
// once. A signal that was ignored when the program started (nohup) stays
// ignored. One instance at a time.
class TQuitSignals : public QObject {
    Q_OBJECT
public:
    explicit TQuitSignals(QObject *parent = nullptr);
    ~TQuitSignals() override;

Q_SIGNALS:
    void Received(int signalNumber);

private:
    void readPipe();
    QSocketNotifier *m_notifier = nullptr;
};
