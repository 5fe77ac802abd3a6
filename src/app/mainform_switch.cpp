// Device and programmer selection: the device switch, the toolbar's selectors, the options frame
// on "Extra Features", and the programmer's Options and Information commands.
#include "app/mainform.h"
#include "app/window_services.h"
#include "isp_version.h"
#include "programmer/hardware.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"

#include <QLayout>

namespace isp {

void Tmain::FillDeviceSelector(int family) {
    DeviceSelector->clear();
    QStringList names;
    for (const std::string& name :
         DeviceList().NamesOfFamily(programmer_->GetHardwareKind(), family)) {
        names << QString::fromStdString(name);
    }
    names.sort();
    DeviceSelector->addItems(names);
    DeviceSelector->setCurrentIndex(-1);
}

void Tmain::HardwareSelectorChange() {
    if (!programmer_ || !project_ || !project_->Device() || Busy()) {
        return;
    }
    const TDevice& current = *project_->Device();
    if (HardwareSelector->currentText().toStdString() == programmer_->hardwareName &&
        DeviceSelector->currentText().toStdString() == current.Name &&
        DeviceType->currentIndex() == current.Family) {
        return;
    }
    if (DeviceType->currentIndex() != current.Family) {
        FillDeviceSelector(DeviceType->currentIndex());
    }
    SwitchDevice(DeviceSelector->currentText().toStdString(),
                 HardwareSelector->currentText().toStdString());
    StartProgressOp("ISP Initializing:");
    UpdateActions();
    if (programmer_->connected) {
        if (optionsFrame_ && optionsFrame_->Mode->isEnabled()) {
            optionsFrame_->Mode->SetItemIndex(programmer_->progMode == 8 ? 0 : 1);
        }
    } else {
        programmer_->Connect();
    }
    EndOp("ISP Initialized: Programmer Detected.  ");
}

void Tmain::SwitchDevice(const std::string& deviceName, const std::string& hardwareName) {
    StartOp("Attempting to switch to Device:" + deviceName + " Hardware:" + hardwareName);
    const THardwareTable& table = HardwareTable();
    if (!programmer_) {
        const int index = std::max(table.FindHardware(hardwareName), 0);
        programmer_ = table.CreateProgrammer(index);
        programmer_->SetHardwareName(
            table.FindHardware(hardwareName) >= 0 ? hardwareName : table.HardwareAt(index).Name);
        programmer_->SetSettingsStore(settings_->Store());
        log_.Programmer = programmer_.get(); // reopened after failures
        if (auto* serial = dynamic_cast<TSmartSerial*>(programmer_.get())) {
            serial->verifyLog = [this](const std::string& line) { LogVerifyLine(line); };
            serial->verifyLogClear = [this] { ClearStatusExecute(); };
        }
        FillDeviceSelector(DeviceType->currentIndex());
        HardwareSelector->clear();
        for (const std::string& name : table.VisibleHardwareNames()) {
            HardwareSelector->addItem(QString::fromStdString(name));
        }
    }
    TISPProgrammer& programmer = *programmer_;
    const std::uint8_t kind = programmer.GetHardwareKind();

    const TDevice* device = DeviceList().FindByName(deviceName, kind);
    if (!device) {
        device = DeviceList().FirstOfFamily(kind, DeviceType->currentIndex());
        if (!device) {
            throw EISPException("No device of this family for " + programmer.hardwareName);
        }
        programmer.eepromProgTime = static_cast<std::uint8_t>(device->ProgTime);
        programmer.SaveSettings();
    }
    THexList& buffer = project_->MainBuffer();
    project_->SetDevice(*device);
    programmer.SetDevice(*device);

    if (optionsFrame_) {
        optionsFrame_->hide();
        optionsFrame_->SetProgrammer(nullptr);
        optionsFrame_->deleteLater();
        optionsFrame_ = nullptr;
    }
    if (device->OptionsFrameFactory) {
        optionsFrame_ = dynamic_cast<TBaseFuseForm*>(device->OptionsFrameFactory(FusesHolder));
    }
    if (optionsFrame_) {
        optionsFrame_->hide();
        optionsFrame_->SetProgrammer(&programmer);
        FusesHolder->layout()->addWidget(optionsFrame_);
        optionsFrame_->ReloadFile = [this] { Guarded([this] { ReloadFlashExecute(); }); };
    }
    NoOptionsLabel->setVisible(optionsFrame_ == nullptr);
    programmer.SetProgressHandler(
        [this](std::int32_t position, std::int32_t total) { UpdateProgress(position, total); });

    const int flashIndex = Tabs->indexOf(FlashTab);
    Tabs->setTabEnabled(flashIndex, device->MemorySize >= 1);
    Tabs->setTabVisible(flashIndex, device->MemorySize >= 1);

    HardwareSelector->setCurrentIndex(table.FindHardware(programmer.hardwareName));
    DeviceSelector->setCurrentIndex(DeviceSelector->findText(
        QString::fromStdString(device->Name), Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (DeviceSelector->currentIndex() < 0 && DeviceSelector->count() > 0) {
        DeviceSelector->setCurrentIndex(0);
    }
    Tabs->setCurrentIndex(0);

    // What every family starts from.
    if (optionsFrame_) {
        TBaseFuseForm& f = *optionsFrame_;
        f.Group25C->show();
        f.Group93C->show();
        f.GroupBox1->show();
        f.A2->hide();
        f.ResetPol->hide();
        f.GroupBox2->show();
        f.DevicePageSize->show();
        f.DevicePageSize->SetValue(device->PageSize);
        f.FpgaFamily->hide();
    }
    EnableInternalRC1->setVisible(false);
    DisableInternalRC1->setVisible(false);
    ResetPolarity1->setVisible(false);
    programmer.pageSize = static_cast<std::uint32_t>(device->PageSize);
    buffer.BlankValue = 0xFF;
    buffer.Fill(0, device->MemorySize - 1, 0xFF);
    if (programmer.eepromProgTime > 10) {
        programmer.eepromProgTime = static_cast<std::uint8_t>(device->ProgTime);
    }
    buffer.FileName.clear();
    SetTitleSuffix("");
    ApplyFamily(*device);
    if (optionsFrame_) {
        optionsFrame_->DevicePageSize->SetValue(device->PageSize);
    }
    TISPProgrammer::ClockCode = 1;
    ShowMemoryView();
    UpdateActions();
}

void Tmain::ApplyFamily(const TDevice& device) {
    const int family = programmer_->GetDeviceFamily();
    TBaseFuseForm* f = optionsFrame_;
    const bool is25C = family == fam25C;
    const bool is93C = family == fam93C;
    const bool isAT17 = family == famAT17;

    ProgramFuses->setVisible(is25C);
    ReadFuses->setVisible(is25C);
    WriteAllValue->setVisible(is93C);
    WriteAllValue->setEnabled(is93C);
    if (isAT17) {
        DeviceErase->setVisible(true);
    }
    if (!f) {
        return;
    }
    f->Mode->setEnabled(is93C);
    f->WriteAllValue->setEnabled(is93C);
    if (family == fam24C || is93C) {
        f->WPEN->setEnabled(false);
    } else if (is25C) {
        f->WPEN->setEnabled(device.MemorySize >= 1024);
    }
    if (!isAT17) {
        f->BP->setEnabled(is25C);
    }
    f->StatusReg->setEnabled(is25C);
    if (is93C) {
        f->DevicePageSize->setEnabled(false);
    }
    f->Group25C->setVisible(!isAT17);
    f->Group93C->setVisible(!isAT17);
    f->GroupBox1->setVisible(!isAT17);
    if (!isAT17) {
        return;
    }
    if (device.IsFlash) {
        f->GroupBox2->hide();
        f->DevicePageSize->hide();
    }
    f->ResetPolarity->SetItemIndex(0);
    f->ResetPolarity->hide();
    f->A2->show();
    if (device.HasResetPolarity) {
        f->ResetPol->show();
        f->ResetPol->setChecked(true);
        programmer_->resetPolarityLow = true;
        ResetPolarity1->setVisible(true);
    }
    f->FpgaFamily->show();
    f->FpgaFamily->SetItemIndex(1);
    programmer_->msbFirst = false;
    if (project_->Device() && project_->Device()->HasInternalRC) {
        EnableInternalRC1->setVisible(true);
        DisableInternalRC1->setVisible(true);
    }
    if (!device.IsFlash) {
        THexList& buffer = project_->MainBuffer();
        buffer.Fill(0, device.MemorySize - 1, 0x00);
        buffer.BlankValue = 0x00;
    }
}

void Tmain::ShowMemoryView() {
    if (Tabs->isTabEnabled(Tabs->indexOf(FlashTab)) && project_) {
        if (FlashViewer->Data() != &project_->MainBuffer()) {
            FlashViewer->SetData(&project_->MainBuffer());
        } else {
            FlashViewer->ResetView();
        }
        FlashViewer->viewport()->update();
    } else {
        FlashViewer->SetData(nullptr);
    }
    Tabs->setCurrentWidget(FlashTab);
}

void Tmain::FuseSheetShow() {
    if (optionsFrame_ && optionsFrame_->isHidden()) {
        optionsFrame_->show();
        if (Tabs->isTabEnabled(Tabs->indexOf(FlashTab))) {
            Tabs->setCurrentWidget(FlashTab);
        }
    }
}

void Tmain::ProgrammerOptionsExecute() {
    if (!programmer_ || !programmer_->hasOptions) {
        return;
    }
    StartOp("Changing ISP Options");
    services_->LastConfigureCancelled = false;
    try {
        programmer_->ConfigureProgrammer();
    } catch (const ESilentAbort&) {
        EndOp("Options Cancelled");
        return;
    }
    // The USB programmer's dialog returns normally on Cancel, with nothing changed.
    EndOp(services_->LastConfigureCancelled ? "Options Cancelled"
                                            : "Options Set; Programmer Detected ");
}

void Tmain::ProgrammerStatusExecute() {
    if (!programmer_ || !programmer_->hasStatus) {
        return;
    }
    StartOp("Status: Retrieving Status");
    programmer_->ShowStatus(kIspVersion);
    EndOp("Status: Operation Complete");
}

} // namespace isp
