// The USB programmer connected to an in-process simulated unit on a virtual clock, with every
// block the host writes recorded.
#pragma once

#include "memory_backend.h"
#include "programmer/smartserial.h"
#include "sim/sim_port.h"

#include <gtest/gtest.h>

namespace isp::testing {

// Records the host's writes (one entry per block, one per single byte).
class TRecordingPort final : public TSerialPort {
public:
    explicit TRecordingPort(std::unique_ptr<TSerialPort> inner) : inner_(std::move(inner)) {}
    bool Open(const std::string& path) override { return inner_->Open(path); }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    std::string ErrorText() const override { return inner_->ErrorText(); }
    void SetReceiveBufferSize(int bytes) override { inner_->SetReceiveBufferSize(bytes); }
    void SetDtr(bool on) override { inner_->SetDtr(on); }
    void PurgeReceive() override { inner_->PurgeReceive(); }
    void PurgeTransmit() override { inner_->PurgeTransmit(); }
    std::size_t ReceivedCount() override { return inner_->ReceivedCount(); }
    std::size_t UnsentCount() override { return inner_->UnsentCount(); }
    std::size_t WaitForReceived(std::size_t count, std::int64_t timeoutNs) override {
        return inner_->WaitForReceived(count, timeoutNs);
    }
    void WriteBlock(const std::uint8_t* data, std::size_t size) override {
        blocks->push_back(std::string(reinterpret_cast<const char*>(data), size));
        *all += blocks->back();
        inner_->WriteBlock(data, size);
    }
    void WriteByte(std::uint8_t value) override {
        *all += static_cast<char>(value);
        inner_->WriteByte(value);
    }
    std::size_t Read(std::uint8_t* out, std::size_t size) override {
        return inner_->Read(out, size);
    }

    std::vector<std::string>* blocks = nullptr;
    std::string* all = nullptr;

private:
    std::unique_ptr<TSerialPort> inner_;
};

class TSimServices final : public TSerialServices {
public:
    explicit TSimServices(sim::TProgrammerUnit& unit) : unit_(unit) {}
    std::unique_ptr<TSerialPort> CreatePort() override {
        auto port = std::make_unique<TRecordingPort>(
            std::make_unique<sim::TSimSerialPort>(unit_, clock, "/dev/sim"));
        port->blocks = &blocks;
        port->all = &written;
        return port;
    }
    std::vector<std::string> SerialDeviceNames() override { return {"COM7"}; }
    std::string DevicePath(const std::string& name) override {
        return name == "COM7" ? "/dev/sim" : "";
    }
    TClock& Clock() override { return clock; }
    void Warn(const std::string& text) override { warnings.push_back(text); }
    void ShowReport(const std::vector<std::string>& lines) override { report = lines; }

    TVirtualClock clock;
    std::vector<std::string> blocks;
    std::string written;
    std::vector<std::string> warnings;
    std::vector<std::string> report;

private:
    sim::TProgrammerUnit& unit_;
};

// A connected programmer for one catalogue part, with the controller's device-switch defaults.
struct TSimLink {
    explicit TSimLink(const std::string& part, sim::TUnitConfig config = {},
                      sim::TChipOptions chip = {})
        : device(*DeviceList().FindByName(part, kUsbProgrammerKind)),
          unit(sim::CreateUnit(device, chip, std::move(config))), services(*unit),
          settings(store, store), programmer(services) {
        TISPProgrammer::ClockCode = 1;
        programmer.SetHardwareName("QORVIK ISP (COM)");
        programmer.SetSettingsStore(settings);
        programmer.SetDevice(device);
        programmer.pageSize = static_cast<std::uint32_t>(device.PageSize);
        settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 6);
        programmer.verifyLog = [this](const std::string& line) { log.push_back(line); };
    }
    bool Connect() {
        const bool ok = programmer.Connect();
        services.blocks.clear();
        services.written.clear();
        return ok;
    }
    // A buffer sized and blanked as a device switch does.
    THexList Buffer() const {
        THexList buffer;
        buffer.SetSize(device.MemorySize);
        if (device.Family == famAT17 && !device.IsFlash) {
            buffer.Fill(0, device.MemorySize - 1, 0x00);
            buffer.BlankValue = 0x00;
        }
        return buffer;
    }
    std::vector<std::uint8_t>& Chip() { return unit->Chip().Memory(); }

    const TDevice& device;
    std::unique_ptr<sim::TProgrammerUnit> unit;
    TSimServices services;
    TMemoryBackend store;
    TISPSettings settings;
    TSmartSerial programmer;
    std::vector<std::string> log;
};

} // namespace isp::testing
