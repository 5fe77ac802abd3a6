// Start-up and shutdown of the main window.
#include "main_fixture.h"
#include "platform/single_instance.h"
#include "programmer/hardware.h"
#include "ui/programmer_dialogs.h"

#include <QTest>
#include <regex>

namespace isp::testing {
namespace {

bool Timed(const std::vector<std::string>& lines, const std::string& text) {
    const std::regex time(" - [0-9]{2,}:[0-9]{2}$");
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(text + " - ", 0) == 0 &&
               std::regex_search(line.substr(text.size()), time) && line.size() <= text.size() + 9;
    });
}

TEST_F(MainWindowTest, FirstRunAsksForThePortBeforeConnecting) {
    bool connectedWhenAsked = true;
    answerDialog = [&](QDialog& dialog) {
        auto& config = dynamic_cast<TIspConfigDialog&>(dialog);
        connectedWhenAsked = window->Programmer()->connected;
        config.PortSelector->setCurrentIndex(
            config.PortSelector->findText("COM7", Qt::MatchStartsWith));
        return int(QDialog::Accepted);
    };
    Start("24C00");
    ASSERT_EQ(dialogs, std::vector<std::string>{"isp::TIspConfigDialog"});
    EXPECT_FALSE(connectedWhenAsked);
    EXPECT_EQ(window->Programmer()->hardwareName, "QORVIK ISP (COM)");
    EXPECT_EQ(window->DeviceType->currentIndex(), 0);
    EXPECT_EQ(window->DeviceSelector->currentText(), "24C00");
    EXPECT_EQ(Lines().front(), "Attempting to switch to Device:24C00 Hardware:QORVIK ISP (COM)");
    EXPECT_TRUE(Timed(Lines(), "ISP Initialized; Programmer Detected. "));
    EXPECT_TRUE(window->Programmer()->connected);
    EXPECT_FALSE(window->Busy());
    EXPECT_EQ(window->Log().StatusText().substr(0, 2), "0|");
}

TEST_F(MainWindowTest, ClosingIsRefusedWhileBusyAndTheEnvironmentComesBack) {
    StoreEnvironment("25C080", 1);
    Start("25C080");
    EXPECT_TRUE(dialogs.empty()) << "a port was chosen before";
    EXPECT_EQ(window->DeviceType->currentIndex(), 1);
    EXPECT_EQ(window->DeviceSelector->currentText(), "25C080");

    // A close request arriving while a read pumps messages.
    bool closed = true;
    QTimer::singleShot(0, window.get(), [&] { closed = window->close(); });
    window->ReadFlash->trigger();
    EXPECT_FALSE(closed);
    EXPECT_EQ(messages,
              std::vector<std::string>{"Can't exit while programming operation in progress"});
    EXPECT_TRUE(Timed(Lines(), "EEPROM: Read Complete"));

    // Switch to a 93C part and close: the next start comes back to it.
    window->DeviceType->setCurrentIndex(2);
    window->HardwareSelectorChange();
    EXPECT_TRUE(window->close());
    window.reset();
    Start("93C46");
    EXPECT_EQ(window->DeviceType->currentIndex(), 2);
    EXPECT_EQ(window->Project()->Device()->Name, "93C06");
    EXPECT_TRUE(window->Programmer()->connected);
}

TEST_F(MainWindowTest, CommandLineArguments) {
    StoreEnvironment("24C02", 0);
    // An Intel hex file in a lower-case path; the unknown hardware falls back to the first entry.
    const std::string image = folder.path().toStdString() + "/image.hex";
    std::ofstream(image) << ":0400100001020304E2\n:00000001FF\n";
    window.reset();
    Start("24C02", {"/x", "-l:" + image, "/M:NO SUCH PROGRAMMER"});
    window->PopUpWarnings->setChecked(true);
    EXPECT_TRUE(HasLine("Invalid Commandline Parameter - !"));
    EXPECT_EQ(window->Programmer()->hardwareName, "QORVIK ISP (COM)");
    EXPECT_EQ(window->CommandLine().LoadFileName,
              QString::fromStdString(image).toUpper().toStdString());
    EXPECT_EQ(Buffer().GetValue(0x10), 0x01);
    EXPECT_EQ(Buffer().GetValue(0x13), 0x04);
    EXPECT_EQ(Buffer().GetValue(0x14), 0xFF);
    EXPECT_TRUE(Timed(Lines(), "ISP Initialized; Programmer Detected. ")) << "start-up went on";

    // With Pop Up Warnings on, the failure text is shown whole.
    window->FailOp("Invalid Commandline Parameter!!");
    EXPECT_EQ(messages.back(), "Invalid Commandline Parameter!!");
    EXPECT_EQ(window->Log().StatusText(), "2|Invalid Commandline Parameter");
}

TEST_F(MainWindowTest, AMissingPortEndsStartUpWithoutLoading) {
    StoreEnvironment("24C02", 0);
    const std::string image = folder.path().toStdString() + "/image.hex";
    std::ofstream(image) << ":0400100001020304E2\n:00000001FF\n";
    Create("24C02", {"/L:" + image});
    sim->present = false;
    window->InitializeISP();
    EXPECT_EQ(LastLine(), "COM Port COM7 is not available - check hardware and Options");
    EXPECT_EQ(window->Log().StatusText().substr(0, 2), "2|");
    EXPECT_FALSE(window->Busy());
    EXPECT_EQ(Buffer().GetValue(0x10), 0xFF) << "the load is skipped";
    EXPECT_TRUE(Buffer().FileName.empty());

    // The operator plugs the unit in and presses Reset.
    sim->present = true;
    window->Reset->click();
    EXPECT_TRUE(window->Programmer()->connected);
    EXPECT_EQ(LastLine().rfind("Reset: Complete - Programmer Detected  - ", 0), 0u);

    // Unplugged again: the port's message, and no reopening after it (the text names the port).
    sim->present = false;
    const int before = sim->portsCreated;
    window->Reset->click();
    EXPECT_EQ(LastLine(), "COM Port COM7 is not available - check hardware and Options");
    EXPECT_EQ(sim->portsCreated, before + 1) << "only Connect's own port";
}

TEST_F(MainWindowTest, HelpCommands) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    openSucceeds = false;
    window->At17Guide->trigger();
    EXPECT_EQ(opened.back(), folder.path().toStdString() + "/install/at17 guide.pdf");
    EXPECT_EQ(messages.back(), "Cannot Open AT17 Guide.pdf");

    window->About->trigger();
    EXPECT_NE(messages.back().find(window->AboutVersionText().toStdString()), std::string::npos);
    EXPECT_EQ(window->AboutVersionText().left(10), "Version: v");
    EXPECT_FALSE(window->SupportMenu->menuAction()->isVisible());
    shiftHeld = true;
    const auto shown = messages.size();
    window->About->trigger();
    EXPECT_EQ(messages.size(), shown) << "Shift: no About box";
    EXPECT_TRUE(window->SupportMenu->menuAction()->isVisible());
}

TEST(SingleInstance, ASecondCopyActivatesTheFirst) {
    QTemporaryDir folder;
    TSingleInstance first("SERIAL-EEPROM-ISP-TEST", folder.path());
    int activated = 0;
    first.OnActivate = [&] { ++activated; };
    ASSERT_TRUE(first.Acquire());
    TSingleInstance second("SERIAL-EEPROM-ISP-TEST", folder.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated == 1; }, 5000));
}

} // namespace
} // namespace isp::testing
