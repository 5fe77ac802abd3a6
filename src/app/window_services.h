// The USB programmer's services as the main window provides them: ports and clock from the
// machine (or a simulator), and warnings, the information report and the options dialog shown
// as the window's dialogs.
#pragma once

#include "programmer/smartserial.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace isp {

class TPrintStatusD;

class TWindowSerialServices final : public TSerialServices {
public:
    explicit TWindowSerialServices(TSerialServices& inner) : inner_(inner) {}

    std::unique_ptr<TSerialPort> CreatePort() override { return inner_.CreatePort(); }
    std::vector<std::string> SerialDeviceNames() override { return inner_.SerialDeviceNames(); }
    std::string DevicePath(const std::string& name) override { return inner_.DevicePath(name); }
    TClock& Clock() override { return inner_.Clock(); }
    void Warn(const std::string& text) override;
    void ShowReport(const std::vector<std::string>& lines) override;
    // The options dialog; on OK the settings are saved and the programmer reconnected.
    void Configure(TSmartSerial& programmer) override;

    std::function<void(const QString&)> Inform;
    std::function<int(QDialog&)> ExecDialog;
    QWidget* DialogParent = nullptr;
    TPrintStatusD* Report = nullptr;
    // Whether the last options dialog was cancelled.
    bool LastConfigureCancelled = false;

private:
    TSerialServices& inner_;
};

} // namespace isp
