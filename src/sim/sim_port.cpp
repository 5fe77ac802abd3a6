#include "sim/sim_port.h"

namespace isp::sim {

TSimSerialPort::TSimSerialPort(TProgrammerUnit& unit, TClock& clock, std::string path)
    : unit_(unit), clock_(clock), path_(std::move(path)) {}

bool TSimSerialPort::Open(const std::string& path) {
    if (!path_.empty() && path != path_) {
        error_ = "No such file or directory";
        return false;
    }
    if (unit_.LinkClosed()) {
        error_ = "The link to the programmer unit is closed";
        return false;
    }
    open_ = true;
    error_.clear();
    return true;
}

void TSimSerialPort::RequireOpen() const {
    if (!open_) {
        throw ESerialPort("The serial port is not open");
    }
    if (unit_.LinkClosed()) {
        throw ESerialPort("The serial port was closed by the device");
    }
}

void TSimSerialPort::PurgeReceive() {
    RequireOpen();
    unit_.DiscardReplies(clock_.NowNs());
}

void TSimSerialPort::PurgeTransmit() {
    RequireOpen();
    unit_.DiscardUnsent(clock_.NowNs());
}

std::size_t TSimSerialPort::ReceivedCount() {
    RequireOpen();
    return unit_.Ready(clock_.NowNs());
}

std::size_t TSimSerialPort::UnsentCount() {
    RequireOpen();
    return unit_.Unsent(clock_.NowNs());
}

std::size_t TSimSerialPort::WaitForReceived(std::size_t count, std::int64_t timeoutNs) {
    RequireOpen();
    const std::int64_t deadline = clock_.NowNs() + timeoutNs;
    for (;;) {
        const std::int64_t now = clock_.NowNs();
        const std::size_t ready = unit_.Ready(now);
        if (ready >= count || now >= deadline) {
            return ready;
        }
        const std::int64_t next = unit_.ReadyAt(count, now);
        clock_.SleepUntilNs(next < 0 || next > deadline ? deadline : std::max(next, now + 1));
        RequireOpen();
    }
}

void TSimSerialPort::WriteBlock(const std::uint8_t* data, std::size_t size) {
    RequireOpen();
    unit_.HostWrite(clock_.NowNs(), data, size);
    RequireOpen();
    clock_.SleepUntilNs(unit_.InputArrivedAt());
}

void TSimSerialPort::WriteByte(std::uint8_t value) {
    RequireOpen();
    unit_.HostWrite(clock_.NowNs(), &value, 1);
    RequireOpen();
}

std::size_t TSimSerialPort::Read(std::uint8_t* out, std::size_t size) {
    RequireOpen();
    return unit_.Read(clock_.NowNs(), out, size);
}

} // namespace isp::sim
