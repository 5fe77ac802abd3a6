// The serial port as the programmer link sees it: a small interface so that the link runs on a
// real USB serial adapter, on a pseudo-terminal, or on the in-process simulated unit alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace isp {

// An error of the serial port service after the port is open (a device unplugged, a closed
// pseudo-terminal). Raised by the port and passed on unchanged by the link.
class ESerialPort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSerialPort {
public:
    virtual ~TSerialPort() = default;

    // Opens the device exclusively at 115200 baud, 8 data bits, no parity, one stop bit, no flow
    // control. Returns false (with ErrorText) when it cannot be opened.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual std::string ErrorText() const = 0;

    virtual void SetReceiveBufferSize(int bytes) = 0;
    // A port that has no DTR line (a pseudo-terminal) ignores this.
    virtual void SetDtr(bool on) = 0;
    virtual void PurgeReceive() = 0;
    virtual void PurgeTransmit() = 0;

    // Bytes received and waiting to be read.
    virtual std::size_t ReceivedCount() = 0;
    // Bytes written but not yet transmitted.
    virtual std::size_t UnsentCount() = 0;
    // Waits until at least count bytes are waiting or timeoutNs has passed; returns the number
    // waiting. Lets a virtual clock jump instead of polling.
    virtual std::size_t WaitForReceived(std::size_t count, std::int64_t timeoutNs) = 0;

    // Writes a block and waits until it has been transmitted.
    virtual void WriteBlock(const std::uint8_t* data, std::size_t size) = 0;
    // Writes one byte without waiting.
    virtual void WriteByte(std::uint8_t value) = 0;
    // Reads up to size waiting bytes; returns how many were read.
    virtual std::size_t Read(std::uint8_t* out, std::size_t size) = 0;
};

} // namespace isp
