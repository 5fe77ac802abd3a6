#include "app/operation_log.h"

#include "model/isperrors.h"
#include "programmer/programmer.h"
#include "programmer/serialport.h"

#include <cstdio>

namespace isp {

TOperationLog::TOperationLog(std::function<std::uint32_t()> tickMs) : tickMs_(std::move(tickMs)) {}

void TOperationLog::SetStatusMessage(const std::string& text, TStatusKind kind) {
    std::string main = text.substr(0, text.find('\r'));
    std::string detail;
    bool hasDetail = false;
    if (const auto bang = main.find('!'); bang != std::string::npos) {
        detail = main.substr(bang + 1);
        hasDetail = true;
        main.erase(bang);
    }
    const char* prefix = kind == TStatusKind::Done      ? "0|"
                         : kind == TStatusKind::Working ? "1|"
                         : kind == TStatusKind::Error   ? "2|"
                                                        : "";
    if (kind == TStatusKind::Error) {
        if (AlertSound) {
            AlertSound();
        }
        blinkOn_ = true;
        timerEnabled_ = true;
    }
    statusText_ = prefix + main;
    if (!main.empty()) {
        statusList_.push_back(hasDetail ? main + " - " + detail : main);
    }
    if (StatusChanged) {
        StatusChanged();
    }
    if (kind != TStatusKind::Error) {
        Pump();
    }
}

void TOperationLog::StartOp(const std::string& text) {
    timerEnabled_ = false; // stops blinking before the first message is pumped
    busy_ = true;
    if (BusyChanged) {
        BusyChanged(true);
    }
    SetStatusMessage(text, TStatusKind::Working);
    opStartTick_ = tickMs_();
    if (opStartTick_ == 0) {
        opStartTick_ = 1; // 0 means "not running"
    }
    Pump();
}

void TOperationLog::StartProgressOp(const std::string& text) {
    StartOp(text);
    progressPosition_ = 0;
    progressCaption_.clear();
    progressMax_ = 1;
    Pump();
}

void TOperationLog::UpdateProgress(std::int32_t position, std::int32_t total) {
    if (position != -1 && total != -1) {
        if (progressMax_ == 1) {
            progressMax_ = total;
        }
        progressPosition_ = position;
        if (ProgressChanged) {
            ProgressChanged();
        }
    }
    Pump();
    if (abortRequested_) {
        throw EAbortOp(msg::OperationAborted);
    }
}

void TOperationLog::EndOp(const std::string& text) {
    abortRequested_ = false;
    progressPosition_ = 0;
    progressCaption_ = "Ready...";
    busy_ = false;
    if (BusyChanged) {
        BusyChanged(false);
    }
    if (opStartTick_ != 0) {
        opSeconds_ += static_cast<std::uint32_t>(tickMs_() - opStartTick_) / 1000;
        opStartTick_ = 0;
    }
    if (!text.empty()) {
        char time[32];
        std::snprintf(time, sizeof time, "%02u:%02u", opSeconds_ / 60, opSeconds_ % 60);
        SetStatusMessage(text + " - " + time, TStatusKind::Done);
    }
    timerEnabled_ = true;
    if (StatusChanged) {
        StatusChanged();
    }
    if (!InAutoProgram) {
        opSeconds_ = 0;
    }
}

void TOperationLog::FailOp(const std::string& text) {
    EndOp("");
    if (Programmer && text.find("COM Port") == std::string::npos) {
        try {
            Programmer->ReopenPort();
        } catch (...) {
            // The failure being reported is the one that matters.
        }
    }
    SetStatusMessage(text, TStatusKind::Error);
    if (PopUpWarnings && PopUp) {
        PopUp(text);
    }
}

std::string TOperationLog::ExceptionText(std::exception_ptr error) const {
    try {
        std::rethrow_exception(error);
    } catch (const ESilentAbort&) {
        return {};
    } catch (const ESerialPort&) {
        return (Programmer ? Programmer->hardwareName : std::string()) +
               ":Programmer Not Detected - Check COM Port in Options or Reset";
    } catch (const EISPException& e) {
        return e.Source.empty() ? std::string(e.what()) : e.Source + ": " + e.what();
    } catch (const EAbortOp&) {
        return "Operation Cancelled by user";
    } catch (const EVerifyError& e) {
        return e.what();
    } catch (const ETargetNotFound& e) {
        return e.what();
    } catch (const EFirmwareMisMatch&) {
        return "Firmware Update Required";
    } catch (const std::exception& e) {
        return std::string("Error: ") + e.what();
    } catch (...) {
        return "Error: unknown error";
    }
}

void TOperationLog::AppException(std::exception_ptr error) {
    const std::string text = ExceptionText(error);
    if (text.empty()) {
        return; // a silent abort
    }
    busy_ = false;
    if (BusyChanged) {
        BusyChanged(false);
    }
    bool firmware = false;
    try {
        std::rethrow_exception(error);
    } catch (const EFirmwareMisMatch&) {
        firmware = true;
    } catch (const EISPException&) {
    } catch (const EAbortOp&) {
    } catch (const EVerifyError&) {
    } catch (const ETargetNotFound&) {
    } catch (const ESerialPort&) {
    } catch (const std::exception& e) {
        if (ErrorBox) {
            ErrorBox(e.what());
        }
    } catch (...) {
    }
    FailOp(text);
    if (firmware && FirmwareUpdateQuestion) {
        FirmwareUpdateQuestion();
    }
}

void TOperationLog::ClearStatus() {
    statusList_.clear();
    timerEnabled_ = false;
    SetStatusMessage("", TStatusKind::None);
}

} // namespace isp
