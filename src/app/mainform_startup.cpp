// Start-up and shutdown: the settings store, the command line, restoring the last hardware,
// family and device, the first connection, and what is saved when the window closes. Also the
// window-level Help commands.
#include "app/mainform.h"
#include "app/window_services.h"
#include "fileformats/fileloader.h"
#include "isp_version.h"
#include "programmer/hardware.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"
#include "ui/programmer_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace isp {

void Tmain::FormCreate() {
    settings_ = std::make_unique<TMachineSettings>();
    serial_ = env_.SerialServices ? env_.SerialServices(*settings_)
                                  : std::make_unique<TMachineSerialServices>(settings_->Ports());
    services_ = std::make_unique<TWindowSerialServices>(*serial_);
    services_->DialogParent = this;
    services_->Report = PrintStatusD;
    services_->ExecDialog = [this](QDialog& dialog) { return ExecDialog(dialog); };
    services_->Inform = [this](const QString& text) { env_.Inform("Serial EEPROM ISP", text); };
    RegisterStandardHardware(*services_);
    InstallOptionsFrameFactory();

    log_.PumpMessages = [] { QCoreApplication::processEvents(); };
    log_.AlertSound = [this] { env_.Beep(); };
    log_.PopUp = [this](const std::string& text) {
        env_.Inform("Serial EEPROM ISP", QString::fromStdString(text));
    };
    log_.BusyChanged = [this](bool busy) {
        DeviceSelector->setEnabled(!busy);
        HardwareSelector->setEnabled(!busy);
        DeviceType->setEnabled(!busy);
        Reset->setText(busy ? "Abort" : "Reset");
        UpdateActions();
    };
    log_.StatusChanged = [this] { RepaintStatusBar(); };
    log_.ProgressChanged = [this] { RepaintProgress(); };
    log_.ErrorBox = [this](const std::string& text) {
        env_.Inform("Error", QString::fromStdString(text));
    };
    log_.FirmwareUpdateQuestion = [this] {
        if (env_.Ask("Firmware Update Required",
                     "Your ISP requires a firmware update to continue, please click OK to start "
                     "the update wizard")) {
            At17GuideExecute();
        }
    };

    SupportMenu->menuAction()->setVisible(false);
    SetBusy(false);
    DeviceSelector->setCurrentIndex(0);
    Tabs->setCurrentWidget(FlashTab);
    UpdateActions();
}

void Tmain::InitializeISP() {
    Guarded([this] {
        Tabs->setCurrentIndex(0);
        hardwareSelectorAction_->setVisible(true);
        HardwareSelector->setVisible(true);
        HardwareSelector->setEnabled(true);

        commandLine_ =
            ParseCommandLine(env_.Arguments, [this] { FailOp("Invalid Commandline Parameter!!"); });
        project_ = std::make_unique<TVelmarProject>();
        TISPSettings& store = settings_->Store();
        store.LoadGroup(GlobalSettingsKey(), false, 1);
        recent_.Load(store);
        UpdateRecentMenu();

        const THardwareTable& table = HardwareTable();
        const std::string stored =
            commandLine_.HardwareOverrideSet
                ? commandLine_.HardwareOverride
                : store.ReadSetting("ENVIRONMENT", "LASTHARDWARE", table.HardwareAt(0).Name)
                      .ToText();
        const std::string hardware = table.ResolveHardwareName(stored);
        int family = 0;
        try {
            family =
                static_cast<int>(store.ReadSetting("ENVIRONMENT", "LASTDEVICETYPE", 0).ToInt());
        } catch (const ESettingConversion&) {
        }
        if (family < 0 || family >= kCatalogueFamilyCount) {
            family = 0; // not a family code: start as a first run would
        }
        const std::uint8_t kind = table.KindOfHardware(table.FindHardware(hardware));
        const TDevice* first = DeviceList().FirstOfFamily(kind, family);
        const std::string device =
            store.ReadSetting("ENVIRONMENT", "LASTDEVICE", first ? first->Name : std::string())
                .ToText();
        DeviceType->setCurrentIndex(family);

        SwitchDevice(device, hardware);
        StartProgressOp("ISP Initializing");
        programmer_->LoadSettings();
        if (optionsFrame_ && optionsFrame_->Mode->isEnabled()) {
            optionsFrame_->Mode->SetItemIndex(programmer_->progMode == 8 ? 0 : 1);
        }
        if (programmer_->portIndex == kNoPort) {
            programmer_->ConfigureProgrammer();
        }
        UpdateActions();
        programmer_->Connect();
        if (commandLine_.LoadFile) {
            THexList& buffer = project_->MainBuffer();
            bool isText = false;
            if (LoadImage(commandLine_.LoadPath, isText) != 0) {
                buffer.MarkAllFailed();
                log_.AddListLine("File Load: Could not load " + commandLine_.LoadPath);
            }
            ShowMemoryView();
        }
        // Auto Program after start-up ("A") runs once that command exists; until then start-up
        // ends as it does without it.
        EndOp("ISP Initialized; Programmer Detected. ");
    });
    initialized_ = true;
}

void Tmain::SaveEnvironment() {
    TISPSettings& store = settings_->Store();
    if (project_ && project_->Device()) {
        store.WriteSetting("ENVIRONMENT", "LASTDEVICE", 1, project_->Device()->Name);
    }
    if (programmer_) {
        store.WriteSetting("ENVIRONMENT", "LASTHARDWARE", 1, programmer_->hardwareName);
    }
    store.WriteSetting("ENVIRONMENT", "LASTDEVICETYPE", 1, DeviceType->currentIndex());
    if (programmer_) {
        try {
            programmer_->Disconnect();
        } catch (const std::exception&) {
            // The link is going away anyway; the settings still get saved.
        }
    }
    recent_.Save(store);
    store.SaveGroup(GlobalSettingsKey(), false, 1);
    if (optionsFrame_) {
        optionsFrame_->SetProgrammer(nullptr);
    }
    FlashViewer->SetData(nullptr);
    log_.Programmer = nullptr;
    programmer_.reset();
    project_.reset();
}

QString Tmain::AboutVersionText() const {
    return QString("Version: v") + kIspVersion;
}

void Tmain::HelpTopicsExecute() {
    const QDir folder(env_.InstallFolder);
    for (const char* name : {"user-guide.html", "user-guide.md"}) {
        if (QFileInfo(folder.filePath(name)).isFile() && env_.OpenDocument(folder.filePath(name))) {
            return;
        }
    }
    env_.Inform("Serial EEPROM ISP", "Cannot Open " + folder.filePath("user-guide.html"));
}

void Tmain::At17GuideExecute() {
    if (!env_.OpenDocument(QDir(env_.InstallFolder).filePath("at17 guide.pdf"))) {
        env_.Inform("Serial EEPROM ISP", "Cannot Open AT17 Guide.pdf");
    }
}

void Tmain::AboutExecute() {
    if (env_.ShiftHeld()) {
        supportVisible_ = true;
        SupportMenu->menuAction()->setVisible(true);
        return;
    }
    env_.Inform("Serial EEPROM ISP", "Serial EEPROM ISP\n" + AboutVersionText() +
                                         "\n\nA programming station for serial EEPROMs.");
}

bool Tmain::SaveStatusLog(const QString& path, std::string* reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (reason) {
            *reason = path.toStdString() + ": " + file.errorString().toStdString();
        }
        return false;
    }
    for (const std::string& line : log_.StatusList()) {
        file.write(line.data(), static_cast<qint64>(line.size()));
        file.write("\n");
    }
    if (!file.commit()) {
        if (reason) {
            *reason = path.toStdString() + ": " + file.errorString().toStdString();
        }
        return false;
    }
    return true;
}

} // namespace isp
