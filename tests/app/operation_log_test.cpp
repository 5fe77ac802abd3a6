// The operation life cycle: status lines, elapsed times, progress, abort and the fixed words of
// every exception kind.
#include "app/operation_log.h"
#include "model/isperrors.h"
#include "programmer/programmer.h"
#include "programmer/serialport.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

class OperationLogTest : public ::testing::Test {
protected:
    OperationLogTest() : log([this] { return tick; }) {
        log.AlertSound = [this] { ++alerts; };
        log.PopUp = [this](const std::string& text) { popups.push_back(text); };
    }
    std::uint32_t tick = 100'000;
    int alerts = 0;
    std::vector<std::string> popups;
    TOperationLog log;
};

TEST_F(OperationLogTest, EndOpLogsWholeSecondsAndMinutes) {
    log.StartOp("Erase: Erasing");
    EXPECT_TRUE(log.Busy());
    EXPECT_EQ(log.StatusText(), "1|Erase: Erasing");
    tick += 2'900;
    log.EndOp("Erase: Complete");
    EXPECT_FALSE(log.Busy());
    EXPECT_EQ(log.StatusList().back(), "Erase: Complete - 00:02");
    EXPECT_EQ(log.StatusText(), "0|Erase: Complete - 00:02");

    log.StartOp("EEPROM: Programming");
    tick += 6'000'000; // 100 minutes
    log.EndOp("EEPROM: Program Complete");
    EXPECT_EQ(log.StatusList().back(), "EEPROM: Program Complete - 100:00");

    log.EndOp("File Load: File loaded"); // no StartOp: 00:00
    EXPECT_EQ(log.StatusList().back(), "File Load: File loaded - 00:00");
    const std::size_t lines = log.StatusList().size();
    log.StartOp("Something");
    log.EndOp(""); // logs nothing
    EXPECT_EQ(log.StatusList().size(), lines + 1);
}

TEST_F(OperationLogTest, AutoProgramKeepsARunningTotal) {
    log.InAutoProgram = true;
    log.StartOp("a");
    tick += 3'000;
    log.EndOp("Erase: Complete");
    log.StartOp("b");
    tick += 4'000;
    log.EndOp("EEPROM: Program Complete");
    EXPECT_EQ(log.StatusList().back(), "EEPROM: Program Complete - 00:07");
}

TEST_F(OperationLogTest, CarriageReturnAndDetail) {
    log.FailOp("Invalid Commandline Parameter!!");
    EXPECT_EQ(log.StatusText(), "2|Invalid Commandline Parameter");
    EXPECT_EQ(log.StatusList().back(), "Invalid Commandline Parameter - !");
    EXPECT_EQ(alerts, 1);
    EXPECT_TRUE(popups.empty());
    log.PopUpWarnings = true;
    log.FailOp("Invalid Commandline Parameter!!");
    EXPECT_EQ(popups, std::vector<std::string>{"Invalid Commandline Parameter!!"});

    log.StartOp("x");
    log.EndOp("First line\rsecond line");
    EXPECT_EQ(log.StatusList().back(), "First line"); // the elapsed time went with the rest
    log.ClearStatus();
    EXPECT_TRUE(log.StatusList().empty());
    EXPECT_EQ(log.StatusText(), "");
    EXPECT_FALSE(log.TimerEnabled());
}

TEST_F(OperationLogTest, ProgressMaximumAndAbort) {
    log.StartProgressOp("EEPROM: Verifying");
    EXPECT_EQ(log.ProgressMax(), 1);
    log.UpdateProgress(0, 32768);
    log.UpdateProgress(8192, 65536); // later totals do not change the maximum
    EXPECT_EQ(log.ProgressMax(), 32768);
    EXPECT_EQ(log.ProgressPosition(), 8192);
    log.UpdateProgress(-1, -1);
    EXPECT_EQ(log.ProgressPosition(), 8192);
    log.RequestAbort();
    EXPECT_THROW(log.UpdateProgress(-1, -1), EAbortOp);
    log.AppException(std::make_exception_ptr(EAbortOp(msg::OperationAborted)));
    EXPECT_EQ(log.StatusList().back(), "Operation Cancelled by user");
    EXPECT_FALSE(log.AbortRequested());
    EXPECT_FALSE(log.Busy());
    EXPECT_EQ(log.ProgressCaption(), "Ready...");
}

TEST_F(OperationLogTest, FixedWordsPerExceptionKind) {
    const struct {
        std::exception_ptr error;
        std::string text;
    } cases[] = {
        {std::make_exception_ptr(EISPException(msg::CommunicationsFailed, "QORVIK ISP (COM)")),
         "QORVIK ISP (COM): Communications with ISP failed during this operation"},
        {std::make_exception_ptr(EISPException(msg::NoTargetVoltage)),
         "No Target Voltage - Check Power and Connections"},
        {std::make_exception_ptr(EVerifyError(msg::VerifyFailedBytes(3))),
         "EEPROM: Verification Failed - 3 bytes had errors"},
        {std::make_exception_ptr(EFirmwareMisMatch(msg::FirmwareUpdate)),
         "Firmware Update Required"},
        {std::make_exception_ptr(ETargetNotFound("gone")), "gone"},
        {std::make_exception_ptr(ESerialPort("Input/output error")),
         ":Programmer Not Detected - Check COM Port in Options or Reset"},
        {std::make_exception_ptr(std::runtime_error("disk full")), "Error: disk full"},
        {std::make_exception_ptr(ESilentAbort("Cancelled")), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(log.ExceptionText(c.error), c.text);
    }
    int questions = 0;
    std::vector<std::string> boxes;
    log.FirmwareUpdateQuestion = [&] { ++questions; };
    log.ErrorBox = [&](const std::string& text) { boxes.push_back(text); };
    log.AppException(std::make_exception_ptr(EFirmwareMisMatch(msg::FirmwareUpdate)));
    log.AppException(std::make_exception_ptr(std::runtime_error("disk full")));
    const std::size_t lines = log.StatusList().size();
    log.AppException(std::make_exception_ptr(ESilentAbort("Cancelled")));
    EXPECT_EQ(log.StatusList().size(), lines); // never reported
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(boxes, std::vector<std::string>{"disk full"});
}

class TCountingProgrammer final : public TISPProgrammer {
public:
    void ReopenPort() override { ++reopened; }
    int reopened = 0;
};

TEST_F(OperationLogTest, FailuresReopenTheLinkUnlessThePortIsMissing) {
    TCountingProgrammer programmer;
    programmer.hardwareName = "QORVIK ISP (COM)";
    log.Programmer = &programmer;
    log.FailOp("QORVIK ISP (COM): Communications with ISP failed during this operation");
    EXPECT_EQ(programmer.reopened, 1);
    log.FailOp("COM Port COM3 is not available - check hardware and Options");
    EXPECT_EQ(programmer.reopened, 1);
    EXPECT_EQ(log.ExceptionText(std::make_exception_ptr(ESerialPort("gone"))),
              "QORVIK ISP (COM):Programmer Not Detected - Check COM Port in Options or Reset");
}

} // namespace
} // namespace isp
