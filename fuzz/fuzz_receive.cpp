// Answer frames of any bytes, fed to the link's receive path through a pipe:
// reading, validating and taking apart an answer must never crash or read
// outside the frame.
#include "errors.h"
#include "kv_rs.h"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace {

class PipeLink : public TKV_RS {
public:
    void attach(int fd) { m_fd = fd; }
    void detach() { m_fd = -1; }
};

PipeLink &link()
{
    static PipeLink *l = [] {
        auto *p = new PipeLink;
        // No waiting: what the pipe holds is all there is.
        p->FirstByteTimeout = 0;
        p->InterByteTimeout = 0;
        p->BaudRate = 0;
        return p;
    }();
    return *l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 16384)
        return 0;
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return 0;
    const ssize_t w = ::write(fds[1], data + 2, size - 2);
    ::close(fds[1]);
    if (w < 0) {
        ::close(fds[0]);
        return 0;
    }
    PipeLink &l = link();
    l.attach(fds[0]);
    l.SetLineType(data[0] % 3);
    // A request of the length the first byte asks for, so the line allowance
    // and the late-echo comparison see every size.
    l.BeginRequest(244, data[1]);
    for (int i = 0; i < data[1] % 64; ++i)
        l.PutByte(uint8_t(i));
    try {
        l.FinishFrame();
        l.Transaction();
        l.RxPos = TKVBaseInterface::kDataStart;
        for (;;) {
            l.GetWord();
            l.GetByte();
        }
    } catch (const TripError &) {
    }
    (void)l.CheckAnswer();
    l.detach();
    ::close(fds[0]);
    return 0;
}
