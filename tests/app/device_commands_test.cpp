// Device selection and the device commands of the main window, against the simulated unit.
#include "app/status_panel.h"
#include "main_fixture.h"
#include "sim/chip_25c.h"
#include "sim/chip_at17.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"

namespace isp::testing {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// What the family table leaves visible and enabled for one part.
struct FamilyCase {
    const char* part;
    int family;
    bool statusRegister;  // both "Status Register" entries
    bool writeAll;        // "Write ALL Value"
    bool modeEnabled;     // "Programming Mode"
    bool wpenEnabled;     // "Write Protection Enable Pin" (AT17 leaves the frame's default)
    bool groupsVisible;   // 25C, 93C and bus address groups
    bool pageSizeVisible; // "Device Page Size" group
    bool fpgaFamily;      // "Family" shown
    bool resetPolarity;   // Verify > "Reset Polarity"
    bool internalRc;      // the two internal RC entries
    std::uint8_t blank;
    friend void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.part; }
};

class FamilyTable : public MainWindowTest, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyTable, SwitchShowsWhatTheFamilyHas) {
    const FamilyCase& c = GetParam();
    StoreEnvironment("24C02", 0);
    Start("24C02");
    window->DeviceType->setCurrentIndex(c.family);
    window->HardwareSelectorChange(); // fills the list and takes the family's first part
    const int at = window->DeviceSelector->findText(c.part);
    ASSERT_GE(at, 0);
    window->DeviceSelector->setCurrentIndex(at);
    window->HardwareSelectorChange();

    ASSERT_EQ(window->Project()->Device()->Name, c.part);
    EXPECT_TRUE(StartsWith(LastLine(), "ISP Initialized: Programmer Detected.   - "));
    EXPECT_EQ(window->ProgramFuses->isVisible(), c.statusRegister);
    EXPECT_EQ(window->ReadFuses->isVisible(), c.statusRegister);
    EXPECT_EQ(window->WriteAllValue->isVisible(), c.writeAll);
    EXPECT_EQ(window->ResetPolarity1->isVisible(), c.resetPolarity);
    EXPECT_EQ(window->EnableInternalRC1->isVisible(), c.internalRc);
    EXPECT_EQ(window->DisableInternalRC1->isVisible(), c.internalRc);
    TBaseFuseForm& f = *window->OptionsFrame();
    EXPECT_EQ(f.Mode->isEnabled(), c.modeEnabled);
    EXPECT_EQ(f.WPEN->isEnabled(), c.wpenEnabled);
    EXPECT_EQ(f.Group25C->isVisibleTo(&f), c.groupsVisible);
    EXPECT_EQ(f.GroupBox1->isVisibleTo(&f), c.groupsVisible);
    EXPECT_EQ(f.GroupBox2->isVisibleTo(&f), c.pageSizeVisible);
    EXPECT_EQ(f.FpgaFamily->isVisibleTo(&f), c.fpgaFamily);
    EXPECT_EQ(Buffer().BlankValue, c.blank);
    EXPECT_EQ(Buffer().GetValue(0), c.blank);
    EXPECT_EQ(Buffer().Size(), window->Project()->Device()->MemorySize);
    EXPECT_EQ(window->windowTitle(), "Serial EEPROM ISP");
}

INSTANTIATE_TEST_SUITE_P(
    Families, FamilyTable,
    ::testing::Values(
        FamilyCase{"24C16", 0, false, false, false, false, true, true, false, false, false, 0xFF},
        FamilyCase{"25C040", 1, true, false, false, false, true, true, false, false, false, 0xFF},
        FamilyCase{"25C080", 1, true, false, false, true, true, true, false, false, false, 0xFF},
        FamilyCase{"93C66", 2, false, true, true, false, true, true, false, false, false, 0xFF},
        FamilyCase{"AT17LV512(A)", 3, false, false, false, true, false, true, true, true, true,
                   0x00},
        FamilyCase{"AT17F040(A)", 3, false, false, false, true, false, false, true, false, false,
                   0xFF}),
    [](const auto& param) {
        std::string name = param.param.part;
        name.erase(
            std::remove_if(name.begin(), name.end(),
                           [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }),
            name.end());
        return name;
    });

TEST_F(MainWindowTest, FamilyChangeLogsTheEmptyNameAndKeepsTheConnection) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    const int ports = sim->portsCreated;
    window->DeviceType->setCurrentIndex(2);
    window->HardwareSelectorChange();
    EXPECT_EQ(window->DeviceSelector->currentText(), "93C06") << "the family's first part";
    EXPECT_TRUE(HasLine("Attempting to switch to Device: Hardware:QORVIK ISP (COM)"));
    EXPECT_EQ(sim->portsCreated, ports) << "connected: no Connect";

    const auto lines = Lines().size();
    window->HardwareSelectorChange(); // nothing changed
    EXPECT_EQ(Lines().size(), lines);
}

TEST_F(MainWindowTest, ExtraFeaturesFirstVisitOnlyPreparesTheFrame) {
    StoreEnvironment("25C080", 1);
    Start("25C080");
    window->Tabs->setCurrentWidget(window->FuseSheet);
    EXPECT_EQ(window->Tabs->currentWidget(), window->FlashTab);
    window->Tabs->setCurrentWidget(window->FuseSheet);
    EXPECT_EQ(window->Tabs->currentWidget(), window->FuseSheet);
    EXPECT_FALSE(window->OptionsFrame()->isHidden());
}

TEST_F(MainWindowTest, ProgramReadAndVerifyAgainstTheUnit) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    for (int a = 0; a < 256; ++a) {
        Buffer().SetValue(static_cast<std::uint32_t>(a), static_cast<std::uint8_t>(a * 3 + 1));
    }
    window->ProgramFlash->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Programming Complete - "));
    EXPECT_EQ(sim->Chip()[0x41], static_cast<std::uint8_t>(0x41 * 3 + 1));

    window->VerifyFlash->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Verify Complete - "));
    EXPECT_TRUE(Buffer().GetStatus(0x80).Has(ps_verified));

    // One byte of the chip changes: the verify fails in red and the viewer shows where.
    sim->Chip()[0x21] ^= 0xFF;
    window->VerifyFlash->trigger();
    EXPECT_TRUE(HasLine("Verify Failed at 0021h: Read 9Bh - Should have been 64h"));
    EXPECT_EQ(window->Log().StatusText(), "2|EEPROM: Verification Failed - 1 bytes had errors");
    EXPECT_TRUE(Buffer().GetStatus(0x21).Has(ps_failed));
    EXPECT_FALSE(Buffer().GetStatus(0x22).Has(ps_failed));
    EXPECT_EQ(window->FlashViewer->Data(), &Buffer());
    EXPECT_TRUE(window->Timer1->isActive()) << "the error blinks";

    // Read clears the buffer first and brings the chip's bytes in.
    Buffer().SetValue(0x21, 0x00);
    window->ReadFlash->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Read Complete - "));
    EXPECT_EQ(Buffer().GetValue(0x21), sim->Chip()[0x21]);
    EXPECT_EQ(window->Log().StatusText().substr(0, 2), "0|");
}

TEST_F(MainWindowTest, ALinkErrorDuringProgramIsLoggedWithoutItsSource) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    const auto failingUnit = [this] {
        sim::TUnitConfig config;
        config.faults.dropReplyByte = {60}; // well after the connection's replies
        sim->Insert("24C02", {}, std::move(config));
        window->Reset->click();
        ASSERT_TRUE(window->Programmer()->connected) << LastLine();
    };
    const std::string lost = msg::CommunicationsFailed;
    failingUnit();
    window->ReadFlash->trigger(); // other commands keep the hardware name in front
    EXPECT_EQ(LastLine(), "QORVIK ISP (COM): " + lost);

    failingUnit();
    window->ProgramFlash->trigger();
    EXPECT_EQ(LastLine(), lost);
    EXPECT_EQ(window->Log().StatusText(), "2|" + lost);
    EXPECT_FALSE(window->Busy());
}

TEST_F(MainWindowTest, EraseOfAFlashPartShowsItsProgress) {
    StoreEnvironment("AT17F040(A)", 3);
    Start("AT17F040(A)");
    sim->Chip()[5] = 0x12;
    std::vector<int> maxima;
    QObject::connect(window->ProgressBar, &QProgressBar::valueChanged,
                     [&] { maxima.push_back(window->ProgressBar->maximum()); });
    window->DeviceErase->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Erase: Complete - "));
    EXPECT_EQ(sim->Chip()[5], 0xFF);
    EXPECT_NE(std::find(maxima.begin(), maxima.end(), 660), maxima.end());
}

TEST_F(MainWindowTest, AbortAsksAndStopsAtTheNextProgressReport) {
    StoreEnvironment("24C16", 0);
    Start("24C16");
    answerYes = false;
    QTimer::singleShot(0, window.get(), [&] { window->Reset->click(); });
    window->ReadFlash->trigger();
    EXPECT_EQ(questions,
              std::vector<std::string>{"Are you sure you want to cancel the operation?"});
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Read Complete - ")) << "No changes nothing";

    answerYes = true;
    QTimer::singleShot(0, window.get(), [&] { window->Reset->click(); });
    window->ReadFlash->trigger();
    EXPECT_EQ(LastLine(), "Operation Cancelled by user");
    EXPECT_EQ(window->Log().StatusText(), "2|Operation Cancelled by user");
    EXPECT_EQ(window->Reset->text(), "Reset");
    EXPECT_FALSE(window->Log().AbortRequested());

    // The link still works afterwards.
    window->VerifyFlash->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Verify Complete - "));
}

TEST_F(MainWindowTest, CommandsAreRefusedWhileAnotherRuns) {
    StoreEnvironment("AT17LV512(A)", 3);
    Start("AT17LV512(A)");
    bool sawBusy = false;
    QTimer::singleShot(0, window.get(), [&] {
        sawBusy = window->Busy();
        window->EnableInternalRC1->trigger(); // no enabled rule of its own
        window->ProgramFlash->trigger();
        window->DeviceRunExecute();
    });
    window->ReadFlash->trigger();
    EXPECT_TRUE(sawBusy);
    EXPECT_FALSE(HasLine("Programming: Enable Internal RC"));
    EXPECT_FALSE(HasLine("EEPROM: Programming"));
    EXPECT_FALSE(HasLine("Putting target in run mode"));
    EXPECT_TRUE(StartsWith(LastLine(), "EEPROM: Read Complete - "));
}

TEST_F(MainWindowTest, StatusRegisterOfA25CPart) {
    StoreEnvironment("25C080", 1);
    Start("25C080");
    TBaseFuseForm& f = *window->OptionsFrame();
    f.BP->SetItemIndex(2);
    window->ProgramFuses->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "STATUS REGISTER: Programmed  - "));
    auto& chip = dynamic_cast<sim::T25CChip&>(sim->Unit().Chip());
    EXPECT_EQ(chip.Status(1'000'000'000'000) & 0x0C, 0x08);

    f.BP->SetItemIndex(0);
    window->ReadFuses->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "STATUS REGISTER: Read Complete - "));
    EXPECT_EQ(f.BP->ItemIndex(), 2);
    EXPECT_EQ(window->Tabs->currentWidget(), window->FlashTab) << "first visit of the tab";
}

TEST_F(MainWindowTest, At17OptionCommands) {
    StoreEnvironment("AT17LV512(A)", 3);
    Start("AT17LV512(A)");
    window->ResetPolarity1->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Operation Complete  Reset Polarity is High (Default) - "));
    window->EnableInternalRC1->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Internal RC Enabled - Cycle Power to Set - "));
    auto& chip = dynamic_cast<sim::TAT17Chip&>(sim->Unit().Chip());
    EXPECT_NE(chip.InternalRc(), 0x00);
    window->DisableInternalRC1->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Internal RC Disabled - Cycle Power to Set - "));
    EXPECT_EQ(chip.InternalRc(), 0x00);

    // A part without a programmable reset polarity.
    window->DeviceSelector->setCurrentIndex(window->DeviceSelector->findText("AT17LV256"));
    window->HardwareSelectorChange();
    window->ResetPolarity1Click();
    EXPECT_EQ(LastLine(), "Reset Polarity not support on this device");
}

TEST_F(MainWindowTest, WriteAllValueFillsA93CPart) {
    StoreEnvironment("93C46", 2);
    Start("93C46");
    window->OptionsFrame()->WriteAllValue->SetValue(0x5A);
    window->WriteAllValue->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Write All: Complete - "));
    EXPECT_TRUE(
        std::all_of(sim->Chip().begin(), sim->Chip().end(), [](auto b) { return b == 0x5A; }));
}

TEST_F(MainWindowTest, RunOptionsAndInformation) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    const std::string before = sim->Unit().Chip().Memory().empty() ? "" : "x";
    window->DeviceRun->trigger();
    const auto& lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Putting target in run mode");
    EXPECT_EQ(lines.back(), "Run Mode: Operation Complete - 00:00");

    answerDialog = [](QDialog&) { return int(QDialog::Rejected); };
    window->ResetButton->click();
    EXPECT_TRUE(StartsWith(LastLine(), "Options Cancelled - "));
    answerDialog = [](QDialog&) { return int(QDialog::Accepted); };
    window->ResetButton->click();
    EXPECT_TRUE(StartsWith(LastLine(), "Options Set; Programmer Detected  - "));
    EXPECT_TRUE(window->Programmer()->connected);

    window->ProgrammerStatus->trigger();
    EXPECT_TRUE(StartsWith(LastLine(), "Status: Operation Complete - "));
    EXPECT_NE(std::find(dialogs.begin(), dialogs.end(), "isp::TPrintStatusD"), dialogs.end());
}

TEST_F(MainWindowTest, AnErrorBlinksUntilTheNextStart) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    EXPECT_EQ(window->StatusPanel->LedColour(), TStatusPanel::DoneColour());
    window->FailOp("Something failed");
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->StatusPanel->LedColour(), TStatusPanel::ErrorColour());
    EXPECT_EQ(window->StatusPanel->Text(), "Something failed");
    QMetaObject::invokeMethod(window->Timer1, "timeout"); // one tick of the blink timer
    EXPECT_EQ(window->StatusPanel->LedColour(), QColor(Qt::black));

    bool timerDuringOp = true;
    QTimer::singleShot(0, window.get(), [&] { timerDuringOp = window->Timer1->isActive(); });
    window->ReadFlash->trigger();
    EXPECT_FALSE(timerDuringOp);
    EXPECT_EQ(window->StatusPanel->LedColour(), TStatusPanel::DoneColour());
}

TEST_F(MainWindowTest, StatusLogCommands) {
    StoreEnvironment("24C02", 0);
    Start("24C02");
    window->DeviceRun->trigger();
    const QString path = folder.path() + "/status.log";
    ASSERT_TRUE(window->SaveStatusLog(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList saved = QString(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(saved.size(), static_cast<qsizetype>(Lines().size()));
    EXPECT_EQ(saved.back().toStdString(), Lines().back());
    EXPECT_FALSE(window->SaveStatusLog(folder.path() + "/no/such/folder/status.log"));

    window->ClearStatus->trigger();
    EXPECT_EQ(window->ListBox1->count(), 0);
    EXPECT_EQ(window->Log().StatusText(), "");
    EXPECT_FALSE(window->Timer1->isActive());
}

} // namespace
} // namespace isp::testing
