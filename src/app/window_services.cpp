#include "app/window_services.h"

#include "ui/programmer_dialogs.h"

namespace isp {

void TWindowSerialServices::Warn(const std::string& text) {
    if (Inform) {
        Inform(QString::fromStdString(text));
    }
}

void TWindowSerialServices::ShowReport(const std::vector<std::string>& lines) {
    if (Report) {
        Report->Runner = ExecDialog;
        Report->Show(lines);
    }
}

void TWindowSerialServices::Configure(TSmartSerial& programmer) {
    TIspConfigDialog dialog(DialogParent);
    dialog.Runner = ExecDialog;
    std::vector<std::pair<std::string, std::string>> ports;
    for (const std::string& name : inner_.SerialDeviceNames()) {
        ports.emplace_back(name, inner_.DevicePath(name));
    }
    LastConfigureCancelled = !ConfigureUsbProgrammer(programmer, dialog, ports);
}

} // namespace isp
