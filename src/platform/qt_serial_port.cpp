#include "platform/qt_serial_port.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSerialPort>

namespace isp {

namespace {

// QSerialPort needs an application object even in blocking use; programs without one (the
// command line) get a quiet one here.
void EnsureApplication() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "eeprom-isp";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
}

} // namespace

TQtSerialPort::TQtSerialPort() {
    EnsureApplication();
    port_ = std::make_unique<QSerialPort>();
}

TQtSerialPort::~TQtSerialPort() = default;

bool TQtSerialPort::Open(const std::string& path) {
    port_->close();
    port_->setPortName(QString::fromStdString(path));
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = port_->errorString().toStdString();
        return false;
    }
    const bool configured =
        port_->setBaudRate(QSerialPort::Baud115200) && port_->setDataBits(QSerialPort::Data8) &&
        port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        error_ = port_->errorString().toStdString();
        port_->close();
        return false;
    }
    error_.clear();
    return true;
}

void TQtSerialPort::Close() {
    port_->close();
}

bool TQtSerialPort::IsOpen() const {
    return port_->isOpen();
}

std::string TQtSerialPort::ErrorText() const {
    return error_;
}

void TQtSerialPort::SetReceiveBufferSize(int /*bytes*/) {
    // QSerialPort's own buffer grows as needed; limiting it would make it stop reading from the
    // device, so the system buffer size is left to the driver.
}

void TQtSerialPort::SetDtr(bool on) {
    if (!port_->setDataTerminalReady(on)) {
        port_->clearError(); // pseudo-terminals have no DTR line
    }
}

void TQtSerialPort::PurgeReceive() {
    port_->clear(QSerialPort::Input);
    port_->clearError();
}

void TQtSerialPort::PurgeTransmit() {
    port_->clear(QSerialPort::Output);
    port_->clearError();
}

void TQtSerialPort::ThrowOnFatalError() {
    const QSerialPort::SerialPortError error = port_->error();
    if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError ||
        error == QSerialPort::DeviceNotFoundError || error == QSerialPort::NotOpenError) {
        const std::string text = port_->errorString().toStdString();
        port_->clearError();
        throw ESerialPort(text);
    }
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
        port_->clearError();
    }
}

std::size_t TQtSerialPort::ReceivedCount() {
    port_->waitForReadyRead(0);
    ThrowOnFatalError();
    return static_cast<std::size_t>(port_->bytesAvailable());
}

std::size_t TQtSerialPort::UnsentCount() {
    return static_cast<std::size_t>(port_->bytesToWrite());
}

std::size_t TQtSerialPort::WaitForReceived(std::size_t count, std::int64_t timeoutNs) {
    QDeadlineTimer deadline(std::chrono::nanoseconds(std::max<std::int64_t>(timeoutNs, 0)));
    port_->waitForReadyRead(0);
    while (static_cast<std::size_t>(port_->bytesAvailable()) < count && !deadline.hasExpired()) {
        if (!port_->waitForReadyRead(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            ThrowOnFatalError();
        }
    }
    ThrowOnFatalError();
    return static_cast<std::size_t>(port_->bytesAvailable());
}

void TQtSerialPort::WriteBlock(const std::uint8_t* data, std::size_t size) {
    if (port_->write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) < 0) {
        ThrowOnFatalError();
        throw ESerialPort(port_->errorString().toStdString());
    }
    // Time enough for the block at 115200 baud, plus a second.
    QDeadlineTimer deadline(1000 + static_cast<qint64>(size) / 10);
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            ThrowOnFatalError();
            if (deadline.hasExpired()) {
                throw ESerialPort("Writing to the serial port timed out");
            }
        }
    }
}

void TQtSerialPort::WriteByte(std::uint8_t value) {
    const char byte = static_cast<char>(value);
    if (port_->write(&byte, 1) != 1) {
        ThrowOnFatalError();
        throw ESerialPort(port_->errorString().toStdString());
    }
    port_->flush();
}

std::size_t TQtSerialPort::Read(std::uint8_t* out, std::size_t size) {
    port_->waitForReadyRead(0);
    const qint64 got = port_->read(reinterpret_cast<char*>(out), static_cast<qint64>(size));
    if (got < 0) {
        ThrowOnFatalError();
        throw ESerialPort(port_->errorString().toStdString());
    }
    return static_cast<std::size_t>(got);
}

} // namespace isp
