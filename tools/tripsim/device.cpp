#include "device.h"

#include <QStringList>
#include <algorithm>

namespace {

uint8_t checksum(const QByteArray &bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += uint8_t(bytes[i]);
    return uint8_t((256 - sum % 256) % 256);
}

uint16_t word(const QByteArray &f, int at) { return uint16_t(uint8_t(f[at]) | (uint8_t(f[at + 1]) << 8)); }

const struct {
    const char *name;
    TSimFault::Kind kind;
} kFaultNames[] = {
    {"busy", TSimFault::Busy},         {"badsum", TSimFault::BadSum},     {"silence", TSimFault::Silence},
    {"short", TSimFault::Short},       {"zero", TSimFault::Zero},         {"delay", TSimFault::Delay},
    {"truncate", TSimFault::Truncate}, {"noecho", TSimFault::NoEcho},     {"badecho", TSimFault::BadEcho},
    {"drop", TSimFault::Drop},         {"lateecho", TSimFault::LateEcho},
};

} // namespace

QByteArray FinishSimFrame(QByteArray body)
{
    body.prepend(char(body.size() + 2));
    body.append(char(checksum(body, int(body.size()))));
    return body;
}

std::optional<TSimFault> TSimFault::Parse(const QString &text, QString &error)
{
    TSimFault f;
    QString faultText = text;
    QString range;
    const int colon = int(faultText.indexOf(QLatin1Char(':')));
    if (colon >= 0) {
        range = faultText.mid(colon + 1);
        faultText = faultText.left(colon);
    }
    QString name = faultText;
    const int eq = int(faultText.indexOf(QLatin1Char('=')));
    bool ok = true;
    if (eq >= 0) {
        name = faultText.left(eq);
        f.value = faultText.mid(eq + 1).toInt(&ok);
        if (!ok || f.value < 0) {
            error = QStringLiteral("bad value in fault \"%1\"").arg(text);
            return std::nullopt;
        }
    }
    bool known = false;
    for (const auto &k : kFaultNames)
        if (name == QLatin1String(k.name)) {
            f.kind = k.kind;
            known = true;
        }
    if (!known) {
        error = QStringLiteral("unknown fault \"%1\"").arg(name);
        return std::nullopt;
    }
    if ((f.kind == Delay || f.kind == LateEcho) && eq < 0)
        f.value = 150;
    if (!range.isEmpty()) {
        f.every = false;
        bool ok1 = true, ok2 = true;
        if (range.endsWith(QLatin1Char('+'))) {
            f.first = range.chopped(1).toInt(&ok1);
            f.last = 1 << 30;
        } else if (range.contains(QLatin1Char('-'))) {
            f.first = range.section(QLatin1Char('-'), 0, 0).toInt(&ok1);
            f.last = range.section(QLatin1Char('-'), 1, 1).toInt(&ok2);
        } else {
            f.first = f.last = range.toInt(&ok1);
        }
        if (!ok1 || !ok2 || f.first < 1 || f.last < f.first) {
            error = QStringLiteral("bad request range in fault \"%1\"").arg(text);
            return std::nullopt;
        }
    }
    return f;
}

void TSimDevice::LoadImage(const QByteArray &image)
{
    const int half = 4096 - 32;
    for (int k = 0; k < image.size() && k < 8128; ++k) {
        const int address = k < half ? k + 32 : k - half + 4128;
        Memory[size_t(address)] = uint8_t(image[k]);
    }
}

QByteArray TSimDevice::Image() const
{
    QByteArray image;
    image.append(reinterpret_cast<const char *>(Memory.data()) + 32, 4096 - 32);
    image.append(reinterpret_cast<const char *>(Memory.data()) + 4128, 8192 - 4128);
    return image;
}

TSimReply TSimDevice::Handle(const QByteArray &request)
{
    TSimReply reply;
    const int index = ++Requests;
    bool busy = false, badSum = false, silence = false, shortFrame = false, zero = false, noEcho = false,
         badEcho = false, drop = false;
    int truncate = -1;
    for (const TSimFault &f : Faults) {
        if (!f.applies(index))
            continue;
        switch (f.kind) {
        case TSimFault::Busy: busy = true; break;
        case TSimFault::BadSum: badSum = true; break;
        case TSimFault::Silence: silence = true; break;
        case TSimFault::Short: shortFrame = true; break;
        case TSimFault::Zero: zero = true; break;
        case TSimFault::Delay: reply.extraDelayMs += f.value; break;
        case TSimFault::Truncate: truncate = f.value; break;
        case TSimFault::NoEcho: noEcho = true; break;
        case TSimFault::BadEcho: badEcho = true; break;
        case TSimFault::Drop: drop = true; break;
        case TSimFault::LateEcho: reply.echoDelayMs += f.value; break;
        }
    }
    if (Echo && !noEcho) {
        reply.echo = request;
        if (badEcho && !reply.echo.isEmpty())
            reply.echo[reply.echo.size() - 1] = char(reply.echo[reply.echo.size() - 1] ^ 0x55);
    }

    const int n = int(request.size());
    if (n < 6 || uint8_t(request[0]) != n || checksum(request, n) != 0) {
        reply.outcome = QStringLiteral("ignored (bad frame)");
        return reply;
    }
    if (uint8_t(request[1]) != 244 || word(request, 2) != 1) {
        reply.outcome = QStringLiteral("ignored (not for this device)");
        return reply;
    }
    if (silence) {
        reply.outcome = QStringLiteral("silent (fault)");
        return reply;
    }
    const uint8_t function = uint8_t(request[4]);
    QByteArray data;
    QString outcome = QStringLiteral("answered");
    if (busy) {
        outcome = QStringLiteral("busy (fault)");
    } else if (drop && function != 1 && function != 5) {
        outcome = QStringLiteral("answered (dropped: fault)");
    } else {
        switch (function) {
        case 1:
            data.append(char(1));
            data.append(char(DeviceType & 0xFF));
            data.append(char(DeviceType >> 8));
            break;
        case 5: {
            if (n < 8) {
                reply.outcome = QStringLiteral("ignored (no page number)");
                return reply;
            }
            const int page = word(request, 5) & 0xFF;
            data.append(reinterpret_cast<const char *>(Memory.data()) + 32 * page, 32);
            break;
        }
        case 12:
            if (n < 10) {
                reply.outcome = QStringLiteral("ignored (short request)");
                return reply;
            }
            m_blockAddress = word(request, 5);
            m_blockLength = word(request, 7);
            m_blockOpen = int(m_blockAddress) + int(m_blockLength) <= int(Memory.size());
            if (m_blockOpen)
                m_block = QByteArray(reinterpret_cast<const char *>(Memory.data()) + m_blockAddress, m_blockLength);
            else
                outcome = QStringLiteral("answered (block outside memory, refused)");
            break;
        case 4: {
            if (n < 10) {
                reply.outcome = QStringLiteral("ignored (short request)");
                return reply;
            }
            const int k = word(request, 5);
            const int c = word(request, 7);
            if (!m_blockOpen)
                outcome = QStringLiteral("answered (no block open, chunk dropped)");
            else if (c < 1 || c > 32 || n != 10 + c || 32 * k + c > m_blockLength)
                outcome = QStringLiteral("answered (bad chunk, dropped)");
            else
                std::copy(request.begin() + 9, request.begin() + 9 + c, m_block.begin() + 32 * k);
            break;
        }
        case 7: {
            if (n < 10) {
                reply.outcome = QStringLiteral("ignored (short request)");
                return reply;
            }
            if (m_blockOpen && word(request, 5) == m_blockAddress && word(request, 7) == m_blockLength) {
                std::copy(m_block.begin(), m_block.end(), Memory.begin() + m_blockAddress);
                outcome = QStringLiteral("answered (block stored)");
            } else {
                outcome = QStringLiteral("answered (no such block open, nothing stored)");
            }
            m_blockOpen = false;
            break;
        }
        default: reply.outcome = QStringLiteral("ignored (unknown function %1)").arg(function); return reply;
        }
    }
    QByteArray body;
    body.append(char(244));
    body.append(char(1));
    body.append(char(0));
    body.append(char(busy ? 255 : function));
    body.append(data);
    QByteArray answer = FinishSimFrame(body);
    if (zero) {
        answer[1] = answer[2] = answer[3] = 0;
        answer[answer.size() - 1] = 0;
        answer[answer.size() - 1] = char(checksum(answer, int(answer.size()) - 1));
        outcome += QStringLiteral(", zero header (fault)");
    }
    if (badSum) {
        answer[answer.size() - 1] = char(answer[answer.size() - 1] + 1);
        outcome += QStringLiteral(", bad checksum (fault)");
    }
    if (shortFrame) {
        answer[0] = 5;
        answer.truncate(5);
        outcome += QStringLiteral(", short frame (fault)");
    }
    if (truncate >= 0) {
        answer.truncate(std::min<int>(truncate, int(answer.size()) - 1));
        outcome += QStringLiteral(", truncated to %1 bytes (fault)").arg(answer.size());
    }
    if (reply.extraDelayMs > 0)
        outcome += QStringLiteral(", delayed %1 ms (fault)").arg(reply.extraDelayMs);
    reply.answer = answer;
    reply.outcome = outcome;
    return reply;
}
