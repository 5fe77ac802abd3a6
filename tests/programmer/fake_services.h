// A recording serial port that answers from a script, and machine services around it, for
// checking the link's bytes one by one on a virtual clock.
#pragma once

#include "programmer/smartserial.h"

#include <deque>
#include <gtest/gtest.h>

namespace isp::testing {

class TScriptedPort final : public TSerialPort {
public:
    // When the bytes written since the last step equal expect, reply becomes readable.
    void Expect(const std::string& expect, const std::string& reply) {
        script.push_back({expect, reply});
    }

    bool Open(const std::string& path) override {
        opened.push_back(path);
        open = openResult;
        return openResult;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    std::string ErrorText() const override { return "refused"; }
    void SetReceiveBufferSize(int) override {}
    void SetDtr(bool on) override { dtr.push_back(on); }
    void PurgeReceive() override { rx.clear(); }
    void PurgeTransmit() override {}
    std::size_t ReceivedCount() override { return rx.size(); }
    std::size_t UnsentCount() override { return 0; }
    std::size_t WaitForReceived(std::size_t count, std::int64_t timeoutNs) override {
        if (rx.size() < count) {
            clock->SleepNs(timeoutNs);
        }
        return rx.size();
    }
    void WriteBlock(const std::uint8_t* data, std::size_t size) override {
        Written(std::string(reinterpret_cast<const char*>(data), size));
    }
    void WriteByte(std::uint8_t value) override {
        Written(std::string(1, static_cast<char>(value)));
    }
    std::size_t Read(std::uint8_t* out, std::size_t size) override {
        const std::size_t n = std::min(size, rx.size());
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<std::uint8_t>(rx.front());
            rx.pop_front();
        }
        return n;
    }

    struct TStep {
        std::string expect;
        std::string reply;
    };
    std::deque<TStep> script;
    std::string written; // everything, in order
    std::string pending; // since the last matched step
    std::deque<char> rx;
    std::vector<std::string> opened;
    std::vector<bool> dtr;
    bool open = false;
    bool openResult = true;
    bool mismatch = false;
    TClock* clock = nullptr;

private:
    void Written(const std::string& bytes) {
        written += bytes;
        pending += bytes;
        while (!script.empty() && pending.size() >= script.front().expect.size()) {
            const TStep step = script.front();
            if (pending.compare(0, step.expect.size(), step.expect) != 0) {
                mismatch = true;
                ADD_FAILURE() << "expected '" << step.expect << "', host sent '" << pending << "'";
                script.clear();
                return;
            }
            pending.erase(0, step.expect.size());
            rx.insert(rx.end(), step.reply.begin(), step.reply.end());
            script.pop_front();
        }
    }
};

class TFakeServices final : public TSerialServices {
public:
    TFakeServices() {
        port = new TScriptedPort;
        port->clock = &clock;
    }
    ~TFakeServices() override {
        if (!handedOut) {
            delete port;
        }
    }
    std::unique_ptr<TSerialPort> CreatePort() override {
        handedOut = true;
        return std::unique_ptr<TSerialPort>(port);
    }
    std::vector<std::string> SerialDeviceNames() override { return present; }
    std::string DevicePath(const std::string& comName) override { return "/dev/fake-" + comName; }
    TClock& Clock() override { return clock; }
    void Warn(const std::string& text) override { warnings.push_back(text); }
    void ShowReport(const std::vector<std::string>& lines) override { report = lines; }

    TVirtualClock clock;
    TScriptedPort* port; // owned by the programmer once created
    bool handedOut = false;
    std::vector<std::string> present = {"COM1", "COM3", "COM10"};
    std::vector<std::string> warnings;
    std::vector<std::string> report;
};

} // namespace isp::testing
