#pragma once
#include "kv_rs_base.h"

#include <QString>
#include <cstdint>
#include <functional>

class TExchangeLog;

// The request/answer protocol with the device on the serial port: framing,
// the first-byte and inter-byte time-outs, the echo of an RS485 line and three
// attempts per request. Every failure is thrown as TripError with one of the
// texts below (one wording in both interface languages, except the busy text).
class TKV_RS : public TKV_RS_Base {
public:
    TKV_RS();

    uint8_t LineType = 0;             // 0 RS232, 1 RS422 (RS485 without echo), 2 RS485 with echo
    uint16_t FirstByteTimeout = 1000; // ms, before the line allowance
    uint16_t InterByteTimeout = 200;  // ms

    // Called while the link waits for a byte, so that a window can repaint and
    // take a Cancel click; the exchange itself is never interrupted.
    std::function<void()> ProcessEvents;

    // Every frame sent and received goes there when set (not owned).
    void SetLog(TExchangeLog *log) { m_log = log; }
    TExchangeLog *Log() const { return m_log; }

    void SetLineType(uint8_t t); // values above 2 mean 0

    bool CheckAnswer() override;
    void FinishFrame() override; // refuses frames over 255 bytes

    void BeginRequest(uint8_t command, uint8_t function);
    virtual void Exchange(); // three attempts; RxPos = 5 on success
    virtual void SendCommand(uint8_t command, uint8_t function);
    virtual void Receive();
    virtual void Transmit();
    virtual void Transaction();

    // The line allowance A in ms added to FirstByteTimeout: 9600 / BaudRate ×
    // TxLength, rounded to the nearest with ties to even.
    int LineAllowance() const;

    static QString NoLinkText();                // "RS232. No link. Check PC-device connection."
    static QString DelayText();                 // "RS232. Delay within block error."
    static QString ExchangeErrorText(int code); // "RS232. Exchange error.(0)" / "(4)"
    static QString BusyText();                  // the device is busy (local control)
    static constexpr int kAttempts = 3;
    static constexpr int kRetryPauseMs = 50;
    static constexpr int kLinePauseMs = 2;

private:
    void raisePriority();
    void restorePriority();
    bool writeFrame();
    // Waits for and reads up to `count` bytes into `to` until the absolute
    // steady-clock deadline (ns); returns the number read (0 on time-out).
    int readSome(uint8_t *to, int count, int64_t deadlineNs, bool callEvents);

    TExchangeLog *m_log = nullptr;
    bool m_receivingEcho = false;
    bool m_priorityRaised = false;
    bool m_priorityRefused = false;
    int m_savedNice = 0;
};
