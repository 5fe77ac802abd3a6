// The device commands: each is one programmer operation between a start and an end line. A
// command asked for while another runs (its menu entry may have no rule, or a shortcut arrived
// while messages were pumped) is refused, so programmer traffic never interleaves.
#include "app/mainform.h"
#include "model/ispdefs.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"

namespace isp {

namespace {
// Makes sure the memory view shows what the programmer left in the buffer, however the
// operation ended.
struct TRepaintAfter {
    std::function<void()> repaint;
    ~TRepaintAfter() { repaint(); }
};
} // namespace

void Tmain::DeviceEraseExecute() {
    if (!CanOperate()) {
        return;
    }
    if (programmer_->device && programmer_->device->IsFlash) {
        StartProgressOp("Erase: Erasing Device");
    } else {
        StartOp("Erase: Erasing Device");
    }
    programmer_->EraseDevice();
    EndOp("Erase: Complete");
}

void Tmain::ProgramFlashExecute() {
    if (!CanOperate()) {
        return;
    }
    programmer_->fullDeviceProgram = false;
    if (!project_->Device() || project_->Device()->MemorySize <= 0) {
        return;
    }
    StartProgressOp("EEPROM: Programming");
    {
        TRepaintAfter repaint{[this] { ShowMemoryView(); }};
        try {
            programmer_->ProgramDevice(project_->MainBuffer());
        } catch (const EISPException& e) {
            try {
                programmer_->ReopenPort();
            } catch (...) {
                // The programming failure is what gets reported.
            }
            throw EISPException(e.what());
        }
    }
    EndOp("EEPROM: Programming Complete");
}

void Tmain::ReadFlashExecute() {
    if (!CanOperate()) {
        return;
    }
    StartProgressOp("EEPROM: Reading");
    {
        TRepaintAfter repaint{[this] { ShowMemoryView(); }};
        project_->MainBuffer().Clear();
        programmer_->ReadDevice(project_->MainBuffer());
    }
    EndOp("EEPROM: Read Complete");
}

void Tmain::VerifyFlashExecute() {
    if (!CanOperate() || !project_->Device() || project_->Device()->MemorySize <= 0) {
        return;
    }
    StartProgressOp("EEPROM: Verifying");
    {
        TRepaintAfter repaint{[this] { ShowMemoryView(); }};
        programmer_->VerifyDevice(project_->MainBuffer());
    }
    EndOp("EEPROM: Verify Complete");
}

void Tmain::ProgramFusesExecute() {
    if (!CanOperate() || !optionsFrame_) {
        return;
    }
    StartOp("Programming: STATUS REGISTER");
    programmer_->WriteStatusRegister(optionsFrame_->ComposeStatusRegister());
    EndOp("STATUS REGISTER: Programmed ");
}

void Tmain::ReadFusesExecute() {
    if (!CanOperate() || !optionsFrame_) {
        return;
    }
    StartOp("STATUS REGISTER: Reading");
    Tabs->setCurrentWidget(FuseSheet);
    optionsFrame_->ShowStatusRegister(programmer_->ReadStatusRegister());
    EndOp("STATUS REGISTER: Read Complete");
}

void Tmain::ResetPolarity1Click() {
    if (!CanOperate()) {
        return;
    }
    StartOp("Verifying Reset Polarity");
    if (!programmer_->device || !programmer_->device->HasResetPolarity) {
        FailOp("Reset Polarity not support on this device");
        return;
    }
    const std::string polarity = programmer_->ReadResetPolarity() != 0
                                     ? " Reset Polarity is Low"
                                     : " Reset Polarity is High (Default)";
    EndOp("Operation Complete " + polarity);
}

void Tmain::EnableInternalRC1Click() {
    if (!CanOperate()) {
        return;
    }
    StartOp("Programming: Enable Internal RC");
    programmer_->WriteInternalRc(true);
    EndOp("Internal RC Enabled - Cycle Power to Set");
}

void Tmain::DisableInternalRC1Click() {
    if (!CanOperate()) {
        return;
    }
    StartOp("Programming: Disable Internal RC");
    programmer_->WriteInternalRc(false);
    EndOp("Internal RC Disabled - Cycle Power to Set");
}

// Writes the options frame's "Write All Value" into every location of a 93C part with the
// part's write-all instruction.
void Tmain::WriteAllValueExecute() {
    if (!CanOperate() || !optionsFrame_ || !programmer_->device ||
        programmer_->device->Family != fam93C) {
        return;
    }
    const auto value = static_cast<std::uint8_t>(optionsFrame_->WriteAllValue->Value());
    StartOp("Write All: Writing " + HexDigits(value, 2) + "h to every location");
    programmer_->WriteStatusRegister(value);
    EndOp("Write All: Complete");
}

void Tmain::DeviceRunExecute() {
    if (!CanOperate()) {
        return;
    }
    StartOp("Putting target in run mode");
    EndOp("Run Mode: Operation Complete");
}

void Tmain::ResetButtonClick() {
    if (Busy()) {
        if (env_.Ask("Serial EEPROM ISP", "Are you sure you want to cancel the operation?")) {
            log_.RequestAbort();
        }
        return;
    }
    if (!programmer_) {
        return;
    }
    StartOp("Reset: Resetting ISP");
    programmer_->Disconnect();
    programmer_->Connect();
    EndOp("Reset: Complete - Programmer Detected ");
}

void Tmain::ClearBufferExecute() {
    if (!CanOperate() || !project_->Device() || project_->Device()->MemorySize == 0) {
        return;
    }
    project_->MainBuffer().Clear();
    FlashViewer->viewport()->update();
}

} // namespace isp
