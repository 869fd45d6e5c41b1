#include "kv_base.h"

#include "errors.h"

uint8_t TKVBaseInterface::Checksum(const uint8_t *bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>((256 - sum % 256) % 256);
}

bool TKVBaseInterface::CheckAnswer()
{
    const int n = RxBuffer[0];
    unsigned sum = 0;
    for (int i = 0; i < n; ++i)
        sum += RxBuffer[static_cast<size_t>(i)];
    return sum % 256 == 0;
}

void TKVBaseInterface::ResetRequest() { TxLength = 1; }

void TKVBaseInterface::FinishFrame()
{
    TxBuffer[0] = static_cast<uint8_t>(TxLength + 1);
    TxBuffer[static_cast<size_t>(TxLength)] = Checksum(TxBuffer.data(), TxLength);
}

void TKVBaseInterface::PutByte(uint8_t b)
{
    // The last position is kept for the checksum.
    if (TxLength < 1 || TxLength >= kBufferSize - 1)
        throw TripError(QStringLiteral("RS232. Request too long: the request buffer holds %1 bytes.").arg(kBufferSize));
    TxBuffer[static_cast<size_t>(TxLength)] = b;
    ++TxLength;
}

void TKVBaseInterface::PutWord(uint16_t w)
{
    PutByte(static_cast<uint8_t>(w & 0xFF));
    PutByte(static_cast<uint8_t>(w >> 8));
}

int TKVBaseInterface::RxRemaining() const
{
    const int end = m_rxLength - 1; // the checksum is not data
    return RxPos < end ? end - RxPos : 0;
}

uint8_t TKVBaseInterface::GetByte()
{
    // Only the data bytes of the frame actually received may be taken: a short
    // answer must not hand out what an earlier frame left in the buffer.
    if (RxPos < kDataStart || RxPos >= m_rxLength - 1)
        throw TripError(QStringLiteral("RS232. Answer too short: it holds %1 data bytes, more were expected.")
                            .arg(m_rxLength >= kMinFrame ? m_rxLength - kMinFrame : 0));
    return RxBuffer[static_cast<size_t>(RxPos++)];
}

uint16_t TKVBaseInterface::GetWord()
{
    const uint8_t lo = GetByte();
    const uint8_t hi = GetByte();
    return static_cast<uint16_t>(lo | (hi << 8));
}
