// The main window's side of the operation life cycle: the operation log keeps the state, these
// keep the toolbar, the status bar, the status list and the cursor in step with it.
#include "app/mainform.h"
#include "app/status_panel.h"
#include "programmer/programmer.h"
#include "ui/hexwindow.h"

#include <QApplication>
#include <QCoreApplication>

namespace isp {

void Tmain::SetBusy(bool busy) {
    log_.SetBusy(busy);
}

bool Tmain::CanOperate() const {
    return !log_.Busy() && programmer_ != nullptr;
}

void Tmain::StartOp(const std::string& text) {
    log_.StartOp(text);
}

void Tmain::StartProgressOp(const std::string& text) {
    log_.StartProgressOp(text);
}

void Tmain::EndOp(const std::string& text) {
    log_.EndOp(text);
}

void Tmain::FailOp(const std::string& text) {
    log_.FailOp(text);
}

void Tmain::SetStatusMessage(const std::string& text, TStatusKind kind) {
    log_.SetStatusMessage(text, kind);
}

void Tmain::UpdateProgress(std::int32_t position, std::int32_t total) {
    log_.UpdateProgress(position, total);
}

void Tmain::AppException(std::exception_ptr error) {
    DeviceSelector->setEnabled(true);
    HardwareSelector->setEnabled(true);
    log_.AppException(error);
    if (log_.Busy()) {
        log_.EndOp(""); // a silent abort is not reported, but the controller must not stay busy
    }
}

void Tmain::SetTitleSuffix(const std::string& text) {
    setWindowTitle(text.empty() ? QString("Serial EEPROM ISP")
                                : "Serial EEPROM ISP - " + QString::fromStdString(text));
}

void Tmain::ClearStatusExecute() {
    log_.ClearStatus();
    ListBox1->clear();
    RepaintStatusBar();
}

void Tmain::RepaintStatusBar() {
    const std::string& status = log_.StatusText();
    StatusPanel->SetStatus(status, log_.BlinkOn());
    SparePanel->setToolTip(QString::fromStdString(status)); // too narrow to read; kept for tools

    const auto& lines = log_.StatusList();
    if (static_cast<std::size_t>(ListBox1->count()) > lines.size()) {
        ListBox1->clear();
    }
    for (auto i = static_cast<std::size_t>(ListBox1->count()); i < lines.size(); ++i) {
        ListBox1->addItem(QString::fromStdString(lines[i]));
    }
    if (Tabs->currentWidget() == StatusSheet && ListBox1->count() > 0) {
        ListBox1->setCurrentRow(ListBox1->count() - 1);
    }

    RepaintProgress();

    const bool working = status.rfind("1|", 0) == 0;
    if (working != hourglass_) {
        hourglass_ = working;
        if (working) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    SyncTimer();
}

void Tmain::RepaintProgress() {
    const std::int32_t maximum = std::max(log_.ProgressMax(), 1);
    if (ProgressBar->maximum() != maximum) {
        ProgressBar->setRange(0, maximum);
    }
    ProgressBar->setValue(std::clamp(log_.ProgressPosition(), 0, maximum));
    ProgressBar->setFormat(log_.ProgressCaption().empty()
                               ? QString("%p%")
                               : QString::fromStdString(log_.ProgressCaption()));
}

void Tmain::SyncTimer() {
    if (log_.TimerEnabled() && !Timer1->isActive()) {
        Timer1->start();
    } else if (!log_.TimerEnabled() && Timer1->isActive()) {
        Timer1->stop();
    }
}

void Tmain::LogVerifyLine(const std::string& line) {
    log_.AddListLine(line);
}

} // namespace isp
