#pragma once
#include <QString>
#include <array>
#include <cstdint>

// What every device object of the link has: a caption and the name of its
// section in the ini file.
class TKVBaseDevice {
public:
    virtual ~TKVBaseDevice() = default;

    QString Caption;
    QString SectionName;
};

// Request and answer buffers and their typed access. A request is built with
// ResetRequest/PutByte/PutWord and closed with FinishFrame; the answer's data
// bytes are taken with GetByte/GetWord, which never read past the received
// frame (a clear error instead).
class TKVBaseInterface : public TKVBaseDevice {
public:
    static constexpr int kBufferSize = 2048;
    static constexpr int kMaxFrame = 255; // L is one byte
    static constexpr int kMinFrame = 6;   // length, three header bytes, status, checksum
    static constexpr int kDataStart = 5;  // first data byte of a frame

    std::array<uint8_t, kBufferSize> TxBuffer{};
    int TxLength = 1; // request bytes placed so far, byte 0 included; the checksum goes here
    std::array<uint8_t, kBufferSize> RxBuffer{};
    int RxPos = kDataStart; // next data byte for GetByte/GetWord

    virtual bool CheckAnswer();
    virtual void ResetRequest();
    virtual void FinishFrame();
    virtual void PutByte(uint8_t b);
    virtual void PutWord(uint16_t w);
    virtual uint8_t GetByte();
    virtual uint16_t GetWord();

    // Number of bytes of the frame now in RxBuffer (0 when none was received).
    int RxLength() const { return m_rxLength; }
    // Data bytes of the received frame that GetByte has not yet returned.
    int RxRemaining() const;

    // (256 - sum of the bytes mod 256) mod 256.
    static uint8_t Checksum(const uint8_t *bytes, int count);

protected:
    int m_rxLength = 0;
};
