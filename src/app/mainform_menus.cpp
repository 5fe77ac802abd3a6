// The menus, the context menus and the enabled rule of every command. A rule is evaluated when
// its menu opens, every quarter second while idle, and once more just before the command runs,
// so a shortcut pressed while an operation runs is refused.
#include "app/mainform.h"
#include "ui/hexwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenuBar>

namespace isp {

namespace {
// Commands whose work arrives with later parts of the station: present, never enabled.
bool NotYetAvailable() {
    return false;
}
} // namespace

QAction* Tmain::Command(const QString& caption, const QKeySequence& shortcut,
                        std::function<bool()> rule, std::function<void()> handler) {
    auto* action = new QAction(caption, this);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    rules_[action] = {rule, {}};
    connect(action, &QAction::triggered, this, [this, rule, handler] {
        if (rule && !rule()) {
            UpdateActions();
            return;
        }
        Guarded(handler);
    });
    return action;
}

void Tmain::BuildMenus() {
    const auto always = [] { return true; };
    const auto canOperate = [this] { return CanOperate(); };
    const auto idle = [this] { return !Busy() && project_ != nullptr; };

    // File.
    QMenu* file = menuBar()->addMenu("&File");
    // Load, Save and Reload change or (mirrored) rewrite the buffer, so they wait while an
    // operation uses it.
    LoadFlash =
        Command("&EEPROMfile...", QKeySequence("Ctrl+O"), idle, [this] { LoadFlashExecute(); });
    SaveFlash = Command("&EEPROMfile", {}, idle, [this] { SaveFlashExecute(); });
    ReloadFlash = Command(
        "&EEPROMFile", QKeySequence("Ctrl+R"), [this] { return ReloadFlashUpdate(); },
        [this] { ReloadFlashExecute(); });
    LoadMenu = file->addMenu("Load");
    LoadMenu->addAction(LoadFlash);
    LoadMenu->addSeparator();
    file->addMenu("Save")->addAction(SaveFlash);
    file->addMenu("Reload")->addAction(ReloadFlash);
    file->addSeparator();
    ImportProjects = Command("Import old Qorvik Projects", {}, NotYetAvailable, [] {});
    LoadWorkSpace = Command("Load Project Settings", {}, NotYetAvailable, [] {});
    SaveWorkspace = Command("Save Project Settings", {}, NotYetAvailable, [] {});
    file->addAction(ImportProjects);
    file->addAction(LoadWorkSpace);
    file->addAction(SaveWorkspace);
    file->addSeparator();
    Exit = Command("E&xit", {}, always, [this] {
        if (Busy()) {
            env_.Inform("Serial EEPROM ISP", "Can't exit while programming operation in progress");
            return;
        }
        close();
    });
    file->addAction(Exit);

    // Device.
    QMenu* device = menuBar()->addMenu("&Device");
    DeviceErase = Command("&Erase", {}, canOperate, [this] { DeviceEraseExecute(); });
    device->addAction(DeviceErase);
    QMenu* program = device->addMenu("Program");
    ProgramFlash = Command("&EEPROM", QKeySequence("Ctrl+Alt+F6"), canOperate,
                           [this] { ProgramFlashExecute(); });
    WriteAllValue = Command("Write ALL Value", QKeySequence("Ctrl+Alt+F7"), always,
                            [this] { WriteAllValueExecute(); });
    WriteAllValue->setToolTip("Program device time");
    // Linux desktops take Ctrl+Alt+F1..F12 for switching consoles, so these two also answer to
    // Ctrl+Shift with the same function key.
    ProgramFlash->setShortcuts({QKeySequence("Ctrl+Alt+F6"), QKeySequence("Ctrl+Shift+F6")});
    WriteAllValue->setShortcuts({QKeySequence("Ctrl+Alt+F7"), QKeySequence("Ctrl+Shift+F7")});
    ProgramFuses = Command("Status Register", {}, canOperate, [this] { ProgramFusesExecute(); });
    EnableInternalRC1 = Command("Enable Internal RC - A part only", {}, always,
                                [this] { EnableInternalRC1Click(); });
    DisableInternalRC1 = Command("Disable Internal RC - A part only", {}, always,
                                 [this] { DisableInternalRC1Click(); });
    program->addActions(
        {ProgramFlash, WriteAllValue, ProgramFuses, EnableInternalRC1, DisableInternalRC1});
    QMenu* read = device->addMenu("Read");
    ReadFlash =
        Command("&EEPROM", QKeySequence("Ctrl+F6"), canOperate, [this] { ReadFlashExecute(); });
    ReadFuses = Command("Status Register", QKeySequence("Shift+F12"), canOperate,
                        [this] { ReadFusesExecute(); });
    read->addActions({ReadFlash, ReadFuses});
    QMenu* verify = device->addMenu("Verify");
    VerifyFlash =
        Command("&EEPROM", QKeySequence("F6"), canOperate, [this] { VerifyFlashExecute(); });
    ResetPolarity1 = Command("Reset Polarity", {}, always, [this] { ResetPolarity1Click(); });
    verify->addActions({VerifyFlash, ResetPolarity1});
    DeviceRun = Command("Run", QKeySequence("F9"), canOperate, [this] { DeviceRunExecute(); });
    addAction(DeviceRun); // no menu entry; the shortcut works anywhere in the window
    device->addSeparator();
    AutoProgram = Command(
        "&Auto Program", QKeySequence("F5"),
        [canOperate] { return canOperate() && NotYetAvailable(); }, [] {});
    AutoProgramOptions = Command("Auto Program &Options...", {}, NotYetAvailable, [] {});
    device->addActions({AutoProgram, AutoProgramOptions});

    // View.
    QMenu* view = menuBar()->addMenu("&View");
    CrcChecksums = Command("CRC &Checksums", {}, NotYetAvailable, [] {});
    ProgrammerStatus = Command(
        "&Information", {}, [this] { return CanOperate() && programmer_->hasStatus; },
        [this] { ProgrammerStatusExecute(); });
    ViewFlash = Command(
        "&EEPROM", QKeySequence("F10"),
        [this] { return Tabs->isTabEnabled(Tabs->indexOf(FlashTab)); },
        [this] { Tabs->setCurrentWidget(FlashTab); });
    ViewFlash->setCheckable(true);
    rules_[ViewFlash].checked = [this] { return Tabs->currentWidget() == FlashTab; };
    ViewStatus = Command(
        "&Status", {}, [this] { return Tabs->isTabEnabled(Tabs->indexOf(StatusSheet)); },
        [this] { Tabs->setCurrentWidget(StatusSheet); });
    ViewStatus->setCheckable(true);
    rules_[ViewStatus].checked = [this] { return Tabs->currentWidget() == StatusSheet; };
    PopUpWarnings = Command("Pop Up Warnings", {}, always, [] {});
    PopUpWarnings->setCheckable(true);
    connect(PopUpWarnings, &QAction::toggled, this, [this](bool on) { log_.PopUpWarnings = on; });
    view->addActions({CrcChecksums, ProgrammerStatus, ViewFlash, ViewStatus, PopUpWarnings});
    ViewFuses = Command("Extra Features", QKeySequence("F12"), always,
                        [this] { Tabs->setCurrentWidget(FuseSheet); });
    ViewFuses->setCheckable(true);
    rules_[ViewFuses].checked = [this] { return Tabs->currentWidget() == FuseSheet; };
    addAction(ViewFuses);

    // Serial numbers and patterns.
    SerialNumbers = Command("Serial Numbers", {}, NotYetAvailable, [] {});
    menuBar()->addAction(SerialNumbers);
    QMenu* patterns = menuBar()->addMenu("Patterns");
    PatternFill = Command("Fill", {}, NotYetAvailable, [] {});
    PatternRandom = Command("Random Data", {}, NotYetAvailable, [] {});
    PatternLoad = Command("Load Pattern", {}, NotYetAvailable, [] {});
    patterns->addActions({PatternFill, PatternRandom, PatternLoad});

    // Support (hidden until About is chosen with Shift held).
    SupportMenu = new QMenu("Support", this);
    GeneratePagedTestFile = Command("Generate Paged Test File", {}, NotYetAvailable, [] {});
    SupportMenu->addMenu("Generate Test Files")->addAction(GeneratePagedTestFile);
    QMenu* build = SupportMenu->addMenu("Build Tools");
    EncodeFile = Command("Encode File", {}, always, [] {});
    CopyDeviceList = Command("Copy device list to clipboard.", {}, NotYetAvailable, [] {});
    build->addActions({EncodeFile, CopyDeviceList});
    FileChecker = Command("File Checker", {}, NotYetAvailable, [] {});
    FileCheckerSave = Command("File Checker Save", {}, NotYetAvailable, [] {});
    SupportMenu->addActions({FileChecker, FileCheckerSave});
    menuBar()->addMenu(SupportMenu)->setVisible(false);

    // Help.
    QMenu* help = menuBar()->addMenu("&Help");
    HelpTopics =
        Command("Help Topics", QKeySequence("F1"), always, [this] { HelpTopicsExecute(); });
    QMenu* online = new QMenu("Online Support", this);
    UpdatesWebsite = Command("Updates Website", {}, always,
                             [this] { env_.OpenWebPage("https://velmar.example/support"); });
    VelmarWebsite = Command("Velmar Website", {}, always,
                            [this] { env_.OpenWebPage("https://velmar.example/"); });
    online->addActions({UpdatesWebsite, VelmarWebsite});
    ViewReadMe = Command(
        "&Readme", {}, [this] { return ViewReadMeUpdate(); }, [this] { ViewReadMeExecute(); });
    At17Guide = Command("AT17 Guide", {}, canOperate, [this] { At17GuideExecute(); });
    About = Command("&About", {}, always, [this] { AboutExecute(); });
    help->addAction(HelpTopics);
    help->addMenu(online);
    help->addActions({ViewReadMe, At17Guide, About});

    // Context menus.
    FlashViewerMenu = new QMenu(this);
    ReloadFlashPopup = Command(
        "Reload EEPROM File", {}, [this] { return ReloadFlashUpdate(); },
        [this] { ReloadFlashExecute(); });
    LoadFlashPopup = Command("Load New EEPROM File", {}, idle, [this] { LoadFlashExecute(); });
    ClearBuffer = Command(
        "Clear EEPROM Buffer", {},
        [this] {
            return CanOperate() && project_->Device() && project_->Device()->MemorySize != 0;
        },
        [this] { ClearBufferExecute(); });
    ProgramFlashPopup =
        Command("Program EEPROM", {}, canOperate, [this] { ProgramFlashExecute(); });
    VerifyFlashPopup = Command("Verify EEPROM", {}, canOperate, [this] { VerifyFlashExecute(); });
    ReadFlashPopup = Command("Read EEPROM", {}, canOperate, [this] { ReadFlashExecute(); });
    FlashViewerMenu->addActions({ReloadFlashPopup, LoadFlashPopup, ClearBuffer});
    FlashViewerMenu->addSeparator();
    FlashViewerMenu->addActions({ProgramFlashPopup, VerifyFlashPopup, ReadFlashPopup});
    FlashViewer->PopUpMenu = FlashViewerMenu;

    StatusListMenu = new QMenu(this);
    ClearStatus = Command("&Clear Status", {}, always, [this] { ClearStatusExecute(); });
    SaveStatusLogAction = Command("Save Status Log", {}, always, [this] {
        QFileDialog dialog(this, "Save Status Log");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter("Status Log (*.log)");
        dialog.setDefaultSuffix("log");
        if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return;
        }
        std::string reason;
        if (!SaveStatusLog(dialog.selectedFiles().front(), &reason)) {
            FailOp("Status Log: Could not save " + reason);
        }
    });
    StatusListMenu->addActions({ClearStatus, SaveStatusLogAction});
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { StatusListMenu->popup(ListBox1->mapToGlobal(at)); });

    for (QMenu* menu : findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
    }
}

void Tmain::UpdateActions() {
    for (auto& [action, rule] : rules_) {
        if (rule.enabled) {
            action->setEnabled(rule.enabled());
        }
        if (rule.checked) {
            action->setChecked(rule.checked());
        }
    }
    ResetButton->setEnabled(!Busy() && programmer_ && programmer_->hasOptions);
}

} // namespace isp
