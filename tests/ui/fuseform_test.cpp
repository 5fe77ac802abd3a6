// The device options frame: status register display, handlers into the programmer, Defaults.
#include "programmer/smartparallel.h"
#include "ui/fuseform.h"

#include <gtest/gtest.h>
#include <map>

namespace isp {
namespace {

class TNoStore final : public TSettingsBackend {
public:
    TSettingsSections Read(const std::string&) override { return {}; }
    void Replace(const std::string&, const TSettingsSections&) override {}
};

class FuseFormTest : public ::testing::Test {
protected:
    FuseFormTest() : settings(store, store) {
        programmer.SetHardwareName("QORVIK ISP (COM)");
        programmer.SetSettingsStore(settings);
        programmer.SetDevice(*DeviceList().FindByName("24C64", kUsbProgrammerKind));
        form.SetProgrammer(&programmer);
    }
    TNoStore store;
    TISPSettings settings;
    TSmartParallel programmer;
    TBaseFuseForm form;
};

TEST_F(FuseFormTest, InitialStateAndCaptions) {
    EXPECT_EQ(form.windowTitle(), "Device Fuses");
    EXPECT_EQ(form.WPEN->ItemIndex(), 1);
    EXPECT_EQ(form.BP->Items().last(), "Level 3 -  ALL");
    EXPECT_EQ(form.StatusReg->text(), "00000000");
    EXPECT_EQ(form.Mode->ItemIndex(), 1);
    EXPECT_EQ(form.ResetPolarity->ItemIndex(), 2);
    EXPECT_EQ(form.FpgaFamily->ItemIndex(), -1);
    EXPECT_TRUE(form.A2->isHidden());
    EXPECT_EQ(form.DeviceAddress->text(), "0");
}

TEST_F(FuseFormTest, StatusRegisterComposeAndShow) {
    form.WPEN->SetItemIndex(0);
    form.BP->SetItemIndex(3);
    EXPECT_EQ(form.StatusReg->text(), "10001100 8Ch");
    EXPECT_EQ(form.ComposeStatusRegister(), 0x8C);

    form.ShowStatusRegister(0x0C);
    EXPECT_EQ(form.WPEN->ItemIndex(), 1);
    EXPECT_EQ(form.BP->ItemIndex(), 3);
    form.ShowStatusRegister(0x80);
    EXPECT_EQ(form.WPEN->ItemIndex(), 0);
    EXPECT_EQ(form.BP->ItemIndex(), 0);
}

TEST_F(FuseFormTest, ShowingABytesOtherBitsDependsOnWhetherASelectionChanged) {
    form.ShowStatusRegister(0x0E); // BP changes: the composed byte replaces the read one
    EXPECT_EQ(form.StatusReg->text(), "00001100 0Ch");
    form.ShowStatusRegister(0x0E); // nothing changes now
    EXPECT_EQ(form.StatusReg->text(), "00001110 0Eh");
}

TEST_F(FuseFormTest, HandlersWriteIntoTheProgrammer) {
    form.Mode->SetItemIndex(0);
    EXPECT_EQ(programmer.progMode, 8);
    EXPECT_EQ(settings.ReadSetting("QORVIK ISP (COM)", "ProgMode", 0).ToInt(), 8);
    form.DevicePageSize->SetValue(32);
    EXPECT_EQ(programmer.pageSize, 32u);
    form.A2->setChecked(true);
    EXPECT_TRUE(programmer.a2PinHigh);
    int reloads = 0;
    form.ReloadFile = [&] { ++reloads; };
    form.FpgaFamily->SetItemIndex(0);
    EXPECT_TRUE(programmer.msbFirst);
    form.FpgaFamily->SetItemIndex(0); // no change: nothing runs
    EXPECT_EQ(reloads, 1);
}

TEST_F(FuseFormTest, DefaultsOnA24C64) {
    int reloads = 0;
    form.ReloadFile = [&] { ++reloads; };
    programmer.msbFirst = true;
    form.A2->setChecked(true);
    form.Defaults();
    EXPECT_EQ(form.DevicePageSize->text(), "16");
    EXPECT_EQ(programmer.pageSize, 16u);
    EXPECT_FALSE(form.A2->isChecked());
    EXPECT_FALSE(programmer.a2PinHigh);
    EXPECT_TRUE(form.ResetPol->isChecked());
    EXPECT_TRUE(programmer.resetPolarityLow);
    EXPECT_EQ(form.FpgaFamily->ItemIndex(), 1);
    EXPECT_FALSE(programmer.msbFirst);
    EXPECT_EQ(reloads, 1);
}

TEST(OptionsFrameHook, CatalogueEntriesBuildTheFrame) {
    InstallOptionsFrameFactory();
    TOptionsFrameOwner owner;
    TOptionsFrame* frame = DeviceList().Items(0).OptionsFrameFactory(&owner);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->parent(), &owner);
    EXPECT_NE(dynamic_cast<TBaseFuseForm*>(frame), nullptr);
    OptionsFrameHook() = nullptr;
}

} // namespace
} // namespace isp
