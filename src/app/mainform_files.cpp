// The commands that move the image between the main buffer and files: Load, Reload, Save, the
// recent-files list, dropped files, the read-me, and the title that follows the buffer's file.
#include "app/mainform.h"
#include "fileformats/fileloader.h"
#include "fileformats/textfile.h"
#include "projects/shorten_path.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

namespace isp {

namespace {

// "Hex (*.hex)|*.hex|..." as Qt's name filters; "*.*" also matches names without a dot.
QStringList NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        if (const auto open = description.indexOf('('); open > 0) {
            description = description.left(open).trimmed();
        }
        QStringList masks = parts[i + 1].split(';');
        for (QString& mask : masks) {
            if (mask == "*.*") {
                mask = "*";
            }
        }
        filters << description + " (" + masks.join(' ') + ")";
    }
    return filters;
}

// The hourglass for the length of a command.
struct TBusyCursor {
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace

bool Tmain::LsbFirst() const {
    return optionsFrame_ && optionsFrame_->FpgaFamily->ItemIndex() == 1;
}

std::string Tmain::FileDialogFilter() const {
    if (!programmer_ || programmer_->GetDeviceFamily() != famAT17) {
        return "Auto-detect (*.*)|*.*|Hex (*.hex)|*.hex|Binary (*.bin)|*.bin|Motorola (*.s)|*.s|"
               "Atmel BST (*.bst)|*.bst";
    }
    if (LsbFirst()) {
        return "Xylinx Files (*.mcs,*.hex)|*.mcs;*.hex|Atmel BST (*.bst)|*.bst";
    }
    return "Atmel BST (*.bst)|*.bst|Auto-detect (*.*)|*.*|Hex (*.hex)|*.hex";
}

std::string Tmain::ShortenPath(const std::string& path) const {
    const QFontMetrics metrics(font());
    return isp::ShortenPath(path, 260, [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
}

QString Tmain::SamplesFolder() const {
    return QDir(env_.InstallFolder).filePath("samples");
}

void Tmain::MirrorBuffer() {
    THexList& buffer = project_->MainBuffer();
    std::uint8_t* values = buffer.Data();
    for (int i = 0; i < buffer.Size(); ++i) {
        values[i] = TFileLoader::ReverseBits(values[i]);
    }
}

void Tmain::RefreshViewer() {
    FlashViewer->ResetView();
    Tabs->setCurrentWidget(FlashTab);
    FlashViewer->viewport()->update();
}

int Tmain::LoadImage(const std::string& path, bool& isText) {
    isText = TFileLoader::Detect(path) > 0;
    THexList& buffer = project_->MainBuffer();
    return isText ? TFileLoader::LoadText(path, buffer, 0) : TFileLoader::LoadBinary(path, buffer);
}

void Tmain::LoadFlashExecute() {
    if (Busy() || !project_) {
        return;
    }
    Tabs->setCurrentWidget(FlashTab);
    QFileDialog dialog(this, "Load EEPROM", SamplesFolder());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(FileDialogFilter()));
    if (!loadFlashd_.empty()) {
        dialog.selectFile(QString::fromStdString(loadFlashd_));
    }
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    loadFlashd_ = dialog.selectedFiles().front().toStdString();
    LoadFlashFile(loadFlashd_);
}

void Tmain::LoadFlashFile(const std::string& path) {
    if (Busy() || !project_) {
        return; // the buffer belongs to the running operation
    }
    Tabs->setCurrentWidget(FlashTab);
    TBusyCursor hourglass;
    if (!PathExists(path) || !QFileInfo(QString::fromStdString(path)).isFile()) {
        recent_.Remove(path);
        UpdateRecentMenu();
        FailOp("EEPROM File Load: File load failed");
        return;
    }
    THexList& buffer = project_->MainBuffer();
    bool isText = false;
    const int result = LoadImage(path, isText);
    if (isText) {
        if (result != 0) {
            FailOp("File Load - Warning: File larger than device");
            buffer.MarkAllFailed();
            if (LsbFirst()) {
                MirrorBuffer();
            }
        } else {
            if (LsbFirst()) {
                MirrorBuffer();
            }
            EndOp("File Load: File loaded (" + TFileLoader::FormatName(TFileLoader::Detect(path)) +
                  ")");
        }
    } else if (result != 0) {
        FailOp("File Load - Warning: file larger than device");
        buffer.MarkAllFailed();
        FlashViewer->viewport()->update();
        return;
    } else {
        EndOp("File Load: File loaded (as a Binary file)");
    }
    RememberFile(path);
    SetTitleSuffix("EEPROM: " + ShortenPath(path));
    RefreshViewer();
}

bool Tmain::ReloadFlashUpdate() const {
    return project_ && !project_->GetFileName().empty() && !Busy();
}

void Tmain::ReloadFlashExecute() {
    if (!project_ || Busy()) {
        return;
    }
    const std::string name = project_->GetFileName();
    if (name.empty()) {
        return;
    }
    StartOp("Reloading: EEPROM Intel Hex File");
    // A file named on the command line is the one Reload reads, whatever was loaded since.
    const std::string path = commandLine_.LoadFile ? commandLine_.LoadPath : name;
    THexList& buffer = project_->MainBuffer();
    if (!PathExists(path)) {
        FailOp("EEPROM File Load: File load failed"); // deleted since: the buffer stays as it is
        return;
    }
    bool isText = false;
    const int result = LoadImage(path, isText);
    if (!isText) {
        if (result != 0) {
            FailOp("File Load - Warning: file larger than device");
            buffer.MarkAllFailed();
            RefreshViewer();
            return;
        }
        EndOp("File Load: File loaded (as a Binary file)");
        SetTitleSuffix("EEPROM: " + ShortenPath(path));
    } else if (result != 0) {
        // Reported as Load reports it, not as a reload that worked.
        FailOp("File Load - Warning: File larger than device");
        buffer.MarkAllFailed();
        if (LsbFirst()) {
            MirrorBuffer();
        }
        RefreshViewer();
        return;
    }
    RefreshViewer();
    if (isText && LsbFirst()) {
        MirrorBuffer(); // the same bytes as Load gives
    }
    EndOp("EEPROM: File Reloaded");
}

void Tmain::SaveFlashExecute() {
    if (!project_ || Busy()) {
        return;
    }
    StartOp("EEPROM: Saving File");
    TBusyCursor hourglass;
    QFileDialog dialog(this, "Select file for Intel Hex file Save", SamplesFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(NameFilters(FileDialogFilter()));
    dialog.setDefaultSuffix("hex");
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        EndOp("EEPROM: Save Cancelled");
        return;
    }
    WriteBufferFile(dialog.selectedFiles().front().toStdString());
}

void Tmain::SaveFlashFile(const std::string& path) {
    if (!project_ || Busy()) {
        return;
    }
    StartOp("EEPROM: Saving File");
    WriteBufferFile(path);
}

void Tmain::WriteBufferFile(const std::string& path) {
    THexList& buffer = project_->MainBuffer();
    const std::int32_t deviceSize =
        programmer_ && programmer_->device ? programmer_->device->MemorySize : buffer.Size();
    const int format = TFileLoader::FormatForSaveExtension(path, deviceSize);
    const bool mirror = LsbFirst();
    std::string error;
    int result = 1;
    if (mirror) {
        MirrorBuffer();
    }
    try {
        result = format == ffBinary ? TFileLoader::SaveBinary(path, buffer, &error)
                                    : TFileLoader::Save(path, buffer, format, &error);
    } catch (...) {
        if (mirror) {
            MirrorBuffer();
        }
        throw;
    }
    if (mirror) {
        MirrorBuffer();
    }
    if (result != 0) {
        // The file on disk is as it was; say so instead of reporting a save.
        FailOp("EEPROM: File not saved (" + ShortenPath(path) + "): " + error);
        return;
    }
    loadFlashd_ = path;
    EndOp("EEPROM: File Saved (" + ShortenPath(path) + ")");
    SetTitleSuffix("EEPROM: " + ShortenPath(path));
}

void Tmain::FlashTabShow() {
    if (project_) {
        const std::string& name = project_->GetFileName();
        SetTitleSuffix(name.empty() ? std::string() : "EEPROM: " + name);
    }
}

bool Tmain::ViewReadMeUpdate() const {
    return QFileInfo(QDir(env_.InstallFolder).filePath("readme.txt")).isFile();
}

void Tmain::ViewReadMeExecute() {
    if (Busy()) {
        return;
    }
    StartOp("README: Loading File");
    log_.ClearList();
    const std::string text =
        ReadWholeFile(QDir(env_.InstallFolder).filePath("readme.txt").toStdString());
    for (const std::string_view line : SplitText(text).lines) {
        log_.AddListLine(std::string(line));
    }
    Tabs->setCurrentWidget(StatusSheet);
    EndOp("README: File Loaded Successfully");
}

void Tmain::RememberFile(const std::string& path) {
    recent_.Add(QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString());
    UpdateRecentMenu();
}

void Tmain::UpdateRecentMenu() {
    for (QAction* action : LoadMenu->actions()) {
        if (action->property("recent").toBool()) {
            LoadMenu->removeAction(action);
            action->deleteLater();
        }
    }
    int number = 1;
    for (const std::string& path : recent_.Items()) {
        auto* action = new QAction(
            QString("&%1 %2").arg(number++).arg(QString::fromStdString(ShortenPath(path))),
            LoadMenu);
        action->setProperty("recent", true);
        action->setToolTip(QString::fromStdString(path));
        connect(action, &QAction::triggered, this,
                [this, path] { Guarded([this, path] { LoadFlashFile(path); }); });
        LoadMenu->addAction(action);
    }
    if (settings_) {
        recent_.Save(settings_->Store());
    }
}

void Tmain::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (!Busy() && project_ && dropped->hasUrls() && !dropped->urls().isEmpty() &&
        dropped->urls().front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void Tmain::dropEvent(QDropEvent* event) {
    if (LoadDroppedFiles(event->mimeData()->urls())) {
        event->acceptProposedAction();
    }
}

bool Tmain::LoadDroppedFiles(const QList<QUrl>& urls) {
    if (urls.isEmpty() || !urls.front().isLocalFile() || Busy()) {
        return false;
    }
    const std::string path = urls.front().toLocalFile().toStdString();
    Guarded([this, path] { LoadFlashFile(path); });
    return true;
}

} // namespace isp
