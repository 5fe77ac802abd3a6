// The life cycle of every command the operator waits for, without widgets: the start and end
// steps, the status line and the status list, the stopwatch, progress and abort, and the fixed
// words every escaping exception is logged with. The main window connects its widgets to the
// hooks.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace isp {

class TISPProgrammer;

enum class TStatusKind { None, Done, Working, Error };

class TOperationLog {
public:
    // Milliseconds of a 32-bit tick counter (wraps); the window uses the system's.
    explicit TOperationLog(std::function<std::uint32_t()> tickMs);

    void SetStatusMessage(const std::string& text, TStatusKind kind);
    void StartOp(const std::string& text);
    void StartProgressOp(const std::string& text);
    void UpdateProgress(std::int32_t position, std::int32_t total);
    void EndOp(const std::string& text);
    void FailOp(const std::string& text);
    // Logs an exception that escaped a command; a silent abort is never reported.
    void AppException(std::exception_ptr error);
    // The fixed words an exception is logged with (empty for a silent abort).
    std::string ExceptionText(std::exception_ptr error) const;
    // "&Clear Status": empties the status list and the current status, stops the blinking.
    void ClearStatus();
    // Empties the status list only (the read-me replaces it).
    void ClearList() {
        statusList_.clear();
        if (StatusChanged) {
            StatusChanged();
        }
    }
    // Adds a line to the status list without changing the current status (the verify's
    // mismatch lines).
    void AddListLine(const std::string& line) {
        statusList_.push_back(line);
        if (StatusChanged) {
            StatusChanged();
        }
    }
    void RequestAbort() {
        if (busy_) {
            abortRequested_ = true;
        }
    }

    void SetBusy(bool busy) {
        busy_ = busy;
        if (BusyChanged) {
            BusyChanged(busy);
        }
    }

    // State for the window.
    bool Busy() const { return busy_; }
    bool AbortRequested() const { return abortRequested_; }
    const std::string& StatusText() const { return statusText_; } // with its "0|" prefix
    const std::vector<std::string>& StatusList() const { return statusList_; }
    std::int32_t ProgressMax() const { return progressMax_; }
    std::int32_t ProgressPosition() const { return progressPosition_; }
    const std::string& ProgressCaption() const { return progressCaption_; }
    bool TimerEnabled() const { return timerEnabled_; }
    // Phase of the blinking error indicator; an error line restarts it lit.
    bool BlinkOn() const { return blinkOn_; }
    // One tick of the 500 ms blink timer: true when the indicator changed and needs a repaint.
    bool BlinkTick() {
        if (!timerEnabled_ || statusText_.rfind("2", 0) != 0) {
            return false;
        }
        blinkOn_ = !blinkOn_;
        return true;
    }
    bool InAutoProgram = false;
    bool PopUpWarnings = false;
    TISPProgrammer* Programmer = nullptr; // re-opened after a failure

    // Hooks.
    std::function<void()> PumpMessages;               // let the window run once
    std::function<void()> AlertSound;                 // an error line
    std::function<void(const std::string&)> PopUp;    // "Pop Up Warnings"
    std::function<void(bool busy)> BusyChanged;       // selectors, Reset/Abort caption
    std::function<void()> StatusChanged;              // repaint the status bar
    std::function<void()> ProgressChanged;            // move the progress bar
    std::function<void(const std::string&)> ErrorBox; // other exceptions, first
    std::function<void()> FirmwareUpdateQuestion;     // after a firmware mismatch

private:
    void Pump() {
        if (PumpMessages) {
            PumpMessages();
        }
    }

    std::function<std::uint32_t()> tickMs_;
    bool busy_ = false;
    bool abortRequested_ = false;
    std::string statusText_;
    std::vector<std::string> statusList_;
    std::int32_t progressMax_ = 1;
    std::int32_t progressPosition_ = 0;
    std::string progressCaption_ = "Ready...";
    bool timerEnabled_ = false;
    bool blinkOn_ = true;
    std::uint32_t opStartTick_ = 0;
    std::uint32_t opSeconds_ = 0;
};

} // namespace isp
