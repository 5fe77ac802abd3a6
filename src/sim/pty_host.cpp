#include "sim/pty_host.h"

#include "programmer/clock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace isp::sim {

namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

TPtyHost::TPtyHost() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        Fail("posix_openpt");
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        Fail("grantpt/unlockpt");
    }
    const char* name = ptsname(master_);
    if (!name) {
        Fail("ptsname");
    }
    path_ = name;
    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        Fail("open slave");
    }
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B115200);
        cfsetospeed(&tio, B115200);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

TPtyHost::~TPtyHost() {
    if (slave_ >= 0) {
        close(slave_);
    }
    if (master_ >= 0) {
        close(master_);
    }
}

void TPtyHost::WriteAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(master_, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            Fail("write to the pseudo-terminal");
        } else {
            pollfd pfd{master_, POLLOUT, 0};
            poll(&pfd, 1, 100);
        }
    }
}

void TPtyHost::Serve(TProgrammerUnit& unit, bool realtime, const volatile std::sig_atomic_t& stop) {
    TSystemClock clock;
    const std::int64_t origin = clock.NowNs();
    // Without real time the unit's clock is the real clock plus the time the unit skipped ahead
    // to give its replies at once; the host's own waits still count in full.
    std::int64_t skipped = 0;
    const auto now = [&] { return clock.NowNs() - origin + (realtime ? 0 : skipped); };
    std::vector<std::uint8_t> buffer(4096);
    while (!stop && !unit.LinkClosed()) {
        // Send every reply byte that is due; without real time, run the unit to its next reply.
        for (;;) {
            const std::int64_t t = now();
            const std::size_t ready = unit.Read(t, buffer.data(), buffer.size());
            if (ready > 0) {
                WriteAll(buffer.data(), ready);
                continue;
            }
            const std::int64_t next = unit.NextEventAt(t);
            if (realtime || next < 0) {
                break;
            }
            skipped += std::max<std::int64_t>(0, next - t);
        }
        std::int64_t timeoutNs = 200'000'000;
        if (realtime) {
            const std::int64_t next = unit.NextEventAt(now());
            if (next >= 0) {
                // Like a USB serial adapter, deliver what is due in bursts: at most every 0.5 ms.
                timeoutNs = std::clamp<std::int64_t>(next - now(), 500'000, timeoutNs);
            }
        }
        if (reportRequested_ && onReport) {
            reportRequested_ = 0;
            onReport();
        }
        pollfd pfd{master_, POLLIN, 0};
        const timespec timeout{static_cast<time_t>(timeoutNs / 1'000'000'000),
                               static_cast<long>(timeoutNs % 1'000'000'000)};
        const int result = ppoll(&pfd, 1, &timeout, nullptr);
        if (result < 0 && errno != EINTR) {
            Fail("poll");
        }
        if (result > 0 && (pfd.revents & POLLIN)) {
            const ssize_t got = read(master_, buffer.data(), buffer.size());
            if (got > 0) {
                unit.HostWrite(now(), buffer.data(), static_cast<std::size_t>(got));
            } else if (got < 0 && errno != EAGAIN && errno != EINTR) {
                Fail("read from the pseudo-terminal");
            }
        }
    }
}

} // namespace isp::sim
