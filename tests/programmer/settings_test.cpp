// The settings store's rules: letter case, groups, sections, load and save.
#include "memory_backend.h"
#include "programmer/settings.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

using testing::TMemoryBackend;

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : settings(userStore, files) {}
    TMemoryBackend userStore, files;
    TISPSettings settings;
};

TEST_F(SettingsTest, ReadIgnoresCaseWriteDoesNot) {
    settings.WriteSetting("ABC", "BASEPORT", 1, 3);
    EXPECT_EQ(settings.ReadSetting("abc", "basePORT", 7).ToInt(), 3);
    EXPECT_EQ(settings.ReadSetting("abc", "other", 7).ToInt(), 7);
    settings.WriteSetting("abc", "BASEPORT", 0, 4); // no exact match: a second setting
    ASSERT_EQ(settings.Settings().size(), 2u);
    EXPECT_EQ(settings.ReadSetting("ABC", "BASEPORT", 0).ToInt(), 3); // the first still wins
    settings.WriteSetting("ABC", "BASEPORT", 0, 5);                   // exact: replaced, group kept
    EXPECT_EQ(settings.Settings()[0]->Group, 1);
    EXPECT_EQ(settings.Settings()[0]->Value.ToInt(), 5);
}

TEST_F(SettingsTest, GroupsAndSections) {
    settings.WriteSetting("AUTOPROGRAM", "Erase", 1, true);
    settings.WriteSetting("AUTOPROGRAM", "Verify", 0, true);
    settings.WriteSetting("ENVIRONMENT", "Device", 1, "24C02");
    settings.DeleteSection(1, "AUTOPROGRAM");
    ASSERT_EQ(settings.Settings().size(), 2u);
    EXPECT_EQ(settings.Settings()[0]->Ident, "Verify"); // group 0 stays
    settings.SetSectionGroup("AUTOPROGRAM", 1);
    EXPECT_EQ(settings.Settings()[0]->Group, 1);
    settings.ClearGroup(1);
    EXPECT_TRUE(settings.Settings().empty());
}

TEST_F(SettingsTest, SaveAndLoadAGroup) {
    settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 2);
    settings.WriteSetting("QORVIK ISP (COM)", "MSBfirst", 1, false);
    settings.WriteSetting("ENVIRONMENT", "Device", 1, "AT17F16(A)");
    settings.WriteSetting("CONFIG", "File", 0, "C:\\images\\a.hex");
    userStore.store["K"] = {{"OLD", {{"x", "1"}}}};
    settings.SaveGroup("K", false, 1);
    ASSERT_EQ(userStore.store["K"].size(), 2u); // OLD is gone: the whole key was replaced
    EXPECT_EQ(userStore.store["K"][0].second[1],
              (std::pair<std::string, std::string>{"MSBfirst", "False"}));

    bool adjusted = false;
    settings.AfterUserStoreLoad = [&] {
        adjusted = true;
        throw std::runtime_error("no adapter"); // swallowed
    };
    settings.LoadGroup("K", false, 1);
    EXPECT_TRUE(adjusted);
    EXPECT_EQ(settings.ReadSetting("qorvik isp (com)", "baseport", 0).ToInt(), 2);
    EXPECT_FALSE(settings.ReadSetting("QORVIK ISP (COM)", "MSBfirst", true).ToBool());
    EXPECT_EQ(settings.ReadSetting("CONFIG", "File", "").ToText(), "C:\\images\\a.hex");

    adjusted = false;
    settings.SaveGroup("W.prj", true, 0);
    settings.LoadGroup("W.prj", true, 0);
    EXPECT_FALSE(adjusted); // files do not touch the adapter
}

TEST(SettingValues, Conversions) {
    EXPECT_EQ(TVariant("42").ToInt(), 42);
    EXPECT_TRUE(TVariant("TRUE").ToBool());
    EXPECT_FALSE(TVariant("False").ToBool());
    EXPECT_TRUE(TVariant("1").ToBool());
    EXPECT_EQ(TVariant(65535).ToText(), "65535");
    EXPECT_EQ(TVariant(true).ToText(), "True");
    EXPECT_THROW(TVariant("12a").ToInt(), ESettingConversion);
    EXPECT_THROW(TVariant("maybe").ToBool(), ESettingConversion);
}

} // namespace
} // namespace isp
