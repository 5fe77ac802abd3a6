// Tmain: the main window and the controller of the station. It owns the settings store, the
// project and the one programmer, runs every command between the operation log's start and end
// steps, and turns every escaping exception into a status line.
#pragma once

#include "app/command_line.h"
#include "app/operation_log.h"
#include "platform/machine_services.h"
#include "projects/project.h"
#include "projects/recent_files.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace isp {

class THexWindow;
class TBaseFuseForm;
class TOptionsFrameOwner;
class TPrintStatusD;
class TStatusPanel;
class TWindowSerialServices;

// What the window needs from the machine; tests replace the parts that touch hardware or block.
struct TMainEnvironment {
    // The serial side of the programmers (ports, clock); default: this machine's serial ports.
    std::function<std::unique_ptr<TSerialServices>(TMachineSettings&)> SerialServices;
    std::vector<std::string> Arguments; // without the program name
    QString InstallFolder;              // guides, samples, read-me
    // Runs a modal dialog and returns its result; tests answer without blocking.
    std::function<int(QDialog&)> ExecDialog;
    // Yes/No question, information box, error box.
    std::function<bool(const QString& title, const QString& text)> Ask;
    std::function<void(const QString& title, const QString& text)> Inform;
    // Opens a document or page with the desktop; false when that failed.
    std::function<bool(const QString& path)> OpenDocument;
    std::function<bool(const QString& url)> OpenWebPage;
    std::function<void()> Beep;
    std::function<bool()> ShiftHeld;
};

class Tmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmain(TMainEnvironment environment, QWidget* parent = nullptr);
    ~Tmain() override;

    // Life cycle (the operation log does the bookkeeping, these keep the widgets in step).
    void SetBusy(bool busy);
    bool CanOperate() const;
    void StartOp(const std::string& text);
    void StartProgressOp(const std::string& text);
    void EndOp(const std::string& text);
    void FailOp(const std::string& text);
    void SetStatusMessage(const std::string& text, TStatusKind kind);
    void UpdateProgress(std::int32_t position, std::int32_t total);
    void AppException(std::exception_ptr error);
    void SetTitleSuffix(const std::string& text);

    // Start-up and shutdown.
    void InitializeISP();
    void SaveEnvironment();

    // Device and programmer selection.
    void SwitchDevice(const std::string& deviceName, const std::string& hardwareName);
    void HardwareSelectorChange();
    void ProgrammerOptionsExecute();
    void ProgrammerStatusExecute();
    void FuseSheetShow();

    // Device commands.
    void DeviceEraseExecute();
    void ProgramFlashExecute();
    void ReadFlashExecute();
    void VerifyFlashExecute();
    void ProgramFusesExecute();
    void ReadFusesExecute();
    void ResetPolarity1Click();
    void EnableInternalRC1Click();
    void DisableInternalRC1Click();
    void WriteAllValueExecute();
    void DeviceRunExecute();
    void ResetButtonClick();

    // Buffer file commands.
    void LoadFlashExecute();
    // Loads a file chosen elsewhere (the dialog, the recent list, a drop) as Load does.
    void LoadFlashFile(const std::string& path);
    void ReloadFlashExecute();
    bool ReloadFlashUpdate() const;
    void SaveFlashExecute();
    void SaveFlashFile(const std::string& path);
    void ViewReadMeExecute();
    bool ViewReadMeUpdate() const;
    void FlashTabShow();
    // The path shortened to 260 pixels of the window's font.
    std::string ShortenPath(const std::string& path) const;
    // The Load and Save dialogs' filter for the current device and bit order.
    std::string FileDialogFilter() const;
    // True when the options frame selects "AT6K/Other": images are kept LSB first.
    bool LsbFirst() const;
    // A drop on the window: the first local file loads as Load does (false when nothing to load).
    bool LoadDroppedFiles(const QList<QUrl>& urls);
    const TRecentFiles& RecentFiles() const { return recent_; }
    const std::string& LoadDialogFileName() const { return loadFlashd_; }

    // Help and status log.
    void HelpTopicsExecute();
    void At17GuideExecute();
    void AboutExecute();
    void ClearStatusExecute();
    // Writes the status list to the file (atomically); false with a reason when it failed.
    bool SaveStatusLog(const QString& path, std::string* reason = nullptr);
    void ClearBufferExecute();

    // Re-evaluates every command's enabled, visible and checked state.
    void UpdateActions();
    // Runs a handler, sending whatever escapes it to AppException.
    void Guarded(const std::function<void()>& handler);

    // State read by tests and by later commands.
    TOperationLog& Log() { return log_; }
    TISPProgrammer* Programmer() const { return programmer_.get(); }
    TVelmarProject* Project() const { return project_.get(); }
    TISPSettings& Settings() { return settings_->Store(); }
    TBaseFuseForm* OptionsFrame() const { return optionsFrame_; }
    const TCommandLine& CommandLine() const { return commandLine_; }
    bool Busy() const { return log_.Busy(); }
    bool InitializeDone() const { return initialized_; }
    QString AboutVersionText() const;

    // Widgets, named by role.
    QComboBox* DeviceType;
    QComboBox* DeviceSelector;
    QLabel* HardwareLabel;
    QComboBox* HardwareSelector;
    QPushButton* ResetButton; // "&Options"
    QPushButton* Reset;       // "Reset" / "Abort"
    QTabWidget* Tabs;
    QWidget* FlashTab;
    THexWindow* FlashViewer;
    QWidget* FuseSheet;
    TOptionsFrameOwner* FusesHolder;
    QLabel* NoOptionsLabel;
    QWidget* StatusSheet;
    QListWidget* ListBox1;
    TStatusPanel* StatusPanel;
    QLabel* SparePanel;
    QProgressBar* ProgressBar;
    QTimer* Timer1;
    QMenu* SupportMenu;
    QMenu* LoadMenu;
    QMenu* FlashViewerMenu;
    QMenu* StatusListMenu;
    TPrintStatusD* PrintStatusD;

    // Commands by name.
    QAction* LoadFlash;
    QAction* SaveFlash;
    QAction* ReloadFlash;
    QAction* ImportProjects;
    QAction* LoadWorkSpace;
    QAction* SaveWorkspace;
    QAction* Exit;
    QAction* DeviceErase;
    QAction* ProgramFlash;
    QAction* WriteAllValue;
    QAction* ProgramFuses;
    QAction* EnableInternalRC1;
    QAction* DisableInternalRC1;
    QAction* ReadFlash;
    QAction* ReadFuses;
    QAction* VerifyFlash;
    QAction* ResetPolarity1;
    QAction* DeviceRun;
    QAction* AutoProgram;
    QAction* AutoProgramOptions;
    QAction* CrcChecksums;
    QAction* ProgrammerStatus;
    QAction* ViewFlash;
    QAction* ViewStatus;
    QAction* PopUpWarnings;
    QAction* ViewFuses;
    QAction* SerialNumbers;
    QAction* PatternFill;
    QAction* PatternRandom;
    QAction* PatternLoad;
    QAction* GeneratePagedTestFile;
    QAction* EncodeFile;
    QAction* CopyDeviceList;
    QAction* FileChecker;
    QAction* FileCheckerSave;
    QAction* HelpTopics;
    QAction* UpdatesWebsite;
    QAction* VelmarWebsite;
    QAction* ViewReadMe;
    QAction* At17Guide;
    QAction* About;
    QAction* ReloadFlashPopup;
    QAction* LoadFlashPopup;
    QAction* ClearBuffer;
    QAction* ProgramFlashPopup;
    QAction* VerifyFlashPopup;
    QAction* ReadFlashPopup;
    QAction* ClearStatus;
    QAction* SaveStatusLogAction;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TRule {
        std::function<bool()> enabled;
        std::function<bool()> checked; // empty: not a check item
    };

    void FormCreate();
    void BuildToolbar();
    void BuildTabs();
    void BuildStatusBar();
    void BuildMenus();
    // A command with its enabled rule; the rule is checked again just before the handler runs.
    QAction* Command(const QString& caption, const QKeySequence& shortcut,
                     std::function<bool()> rule, std::function<void()> handler);
    void RunInitialization();
    void FillDeviceSelector(int family);
    void ApplyFamily(const TDevice& device);
    void ShowMemoryView();
    void RepaintStatusBar();
    void RepaintProgress();
    void SyncTimer();
    int CurrentFamily() const { return DeviceType->currentIndex(); }
    // Shows a modal dialog through the environment.
    int ExecDialog(QDialog& dialog);
    void LogVerifyLine(const std::string& line);
    // Reads a file into the main buffer: a recognised text with the text loader, anything else
    // as binary. Returns the loader's result; isText tells which loader ran.
    int LoadImage(const std::string& path, bool& isText);
    void MirrorBuffer();
    // Save's work after its start line: the format from the extension, mirrored around the write.
    void WriteBufferFile(const std::string& path);
    void RefreshViewer();
    void UpdateRecentMenu();
    void RememberFile(const std::string& path);
    QString SamplesFolder() const;

    TMainEnvironment env_;
    TOperationLog log_;
    std::unique_ptr<TMachineSettings> settings_;
    std::unique_ptr<TSerialServices> serial_;
    std::unique_ptr<TWindowSerialServices> services_;
    std::unique_ptr<TVelmarProject> project_;
    std::unique_ptr<TISPProgrammer> programmer_;
    TBaseFuseForm* optionsFrame_ = nullptr;
    TCommandLine commandLine_;
    std::map<QAction*, TRule> rules_;
    bool initializeQueued_ = false;
    bool initialized_ = false;
    bool supportVisible_ = false;
    bool hourglass_ = false;
    QAction* hardwareSelectorAction_ = nullptr;
    TRecentFiles recent_;
    std::string loadFlashd_; // the Load dialog's current file
};

} // namespace isp
