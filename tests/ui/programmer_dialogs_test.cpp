// The programmer's dialogs: port preselection, clock buttons per device kind, write delay, and
// the options flow against the simulated unit; the information dialogs' clipboard text.
#include "programmer/sim_fixture.h"
#include "ui/programmer_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(IspConfigDialog, PortPreselection) {
    TIspConfigDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "ISP Configuration");
    dialog.AddPort("COM1", "/dev/ttyUSB0");
    dialog.AddPort("COM3", "/dev/serial/by-id/usb-FTDI_QorvikISPA");
    dialog.AddPort("COM4");
    dialog.Prepare(2, 5, false);
    EXPECT_EQ(dialog.SelectedItemIndex(), 1);
    EXPECT_EQ(dialog.SelectedSerialPortIndex(), 2);
    EXPECT_EQ(dialog.PortSelector->currentText(), "COM3  (/dev/serial/by-id/usb-FTDI_QorvikISPA)");
    dialog.Prepare(7, 5, false);
    EXPECT_EQ(dialog.SelectedItemIndex(), 0);
}

TEST(IspConfigDialog, ClockButtonsAndWriteDelay) {
    TIspConfigDialog dialog;
    TISPProgrammer::ClockCode = 1;
    dialog.Prepare(0, 0, false);
    EXPECT_TRUE(dialog.Fast->isChecked()); // 24C: code 1 shows Fast
    dialog.Prepare(0, 0, true);
    EXPECT_TRUE(dialog.Medium->isChecked()); // AT17F: code 1 is Medium
    EXPECT_EQ(dialog.ClockCodeChosen(true), 1);
    EXPECT_EQ(dialog.ClockCodeChosen(false), 3);
    TISPProgrammer::ClockCode = 16;
    dialog.Prepare(0, 0, false);
    EXPECT_TRUE(dialog.Slow->isChecked());
    EXPECT_EQ(dialog.WriteDelay(5), 5); // 0 takes the device's time
    dialog.ProgTime->SetValue(9);
    EXPECT_EQ(dialog.WriteDelay(5), 9);
    TISPProgrammer::ClockCode = 1;
}

TEST(IspConfigDialog, OptionsFlowSavesAndReconnects) {
    testing::TSimLink link("AT17F040(A)");
    ASSERT_TRUE(link.Connect());
    TIspConfigDialog dialog;
    dialog.Medium->setChecked(true);
    ASSERT_TRUE(ConfigureUsbProgrammer(link.programmer, dialog, {{"COM7", "/dev/sim"}}, false));
    EXPECT_EQ(dialog.ProgTimeLabel->text(), "Read Page Delay:");
    EXPECT_EQ(dialog.MediumLabel->text(), "");
    EXPECT_EQ(TISPProgrammer::ClockCode, 1); // Medium on an AT17F part
    EXPECT_EQ(link.programmer.portIndex, 6);
    EXPECT_TRUE(link.programmer.connected);
    EXPECT_EQ(link.settings.ReadSetting("QORVIK ISP (COM)", "Clockspeed", 0).ToInt(), 1);
    TISPProgrammer::ClockCode = 1;
}

TEST(InformationDialogs, CopyToClipboard) {
    TPrintStatusD status;
    EXPECT_EQ(status.windowTitle(), "Information");
    status.SetLines({"======== Programmer Connection =======", "Port Number: 3"});
    status.CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "======== Programmer Connection =======\nPort Number: 3");

    TParallelInfoDialog info;
    EXPECT_EQ(info.windowTitle(), "ISP Information");
    info.SetContents("0.1.0", "Unknown Hardware not available", {"Printer Port Driver: OK"});
    info.CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Qorvik ISP Information\nQorvik ISP Software Revision: 0.1.0\nQorvik Firmware "
              "Revision: Unknown Hardware not available\nAdditional Information:\nPrinter Port "
              "Driver: OK");
}

} // namespace
} // namespace isp
