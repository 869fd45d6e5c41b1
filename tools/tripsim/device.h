#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// An injected fault: which kind, its value (ms of delay, bytes kept of a
// truncated answer) and the requests it applies to (1-based; every request
// when Every).
struct TSimFault {
    enum Kind { Busy, BadSum, Silence, Short, Zero, Delay, Truncate, NoEcho, BadEcho, Drop, LateEcho };
    Kind kind = Busy;
    int value = 0;
    int first = 0;
    int last = 0;
    bool every = true;

    bool applies(int request) const { return every || (request >= first && request <= last); }
    // KIND[=VALUE][:N | :N-M | :N+]
    static std::optional<TSimFault> Parse(const QString &text, QString &error);
};

// What the simulated device does with one request: the bytes of its answer
// (empty: none), the echo it sends back, and when.
struct TSimReply {
    QByteArray echo;   // empty: no echo
    QByteArray answer; // empty: silence
    int extraDelayMs = 0;
    int echoDelayMs = 0;
    QString outcome; // for the request log
};

// The device: 8192 bytes of settings memory and the block being written.
class TSimDevice {
public:
    std::array<uint8_t, 8192> Memory{};
    uint16_t DeviceType = 0xC000;
    bool Echo = false;
    std::vector<TSimFault> Faults;
    int Requests = 0; // handled so far

    // Settings-file image: byte k is address k + 32 for the first half, pages
    // 129..255 follow.
    void LoadImage(const QByteArray &image);
    QByteArray Image() const;

    TSimReply Handle(const QByteArray &request);

private:
    bool m_blockOpen = false;
    uint16_t m_blockAddress = 0;
    uint16_t m_blockLength = 0;
    QByteArray m_block;
};

// The frame with its length byte in front and its checksum after.
QByteArray FinishSimFrame(QByteArray body);
