#include "model/isperrors.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(ErrorKinds, HierarchyAndFields) {
    const EISPException withSource("Programmer was not detected", "Qorvik ISP (COM)");
    EXPECT_STREQ(withSource.what(), "Programmer was not detected");
    EXPECT_EQ(withSource.Source, "Qorvik ISP (COM)");
    EXPECT_EQ(EISPException("x").Source, "");

    // The loader's callers catch the base kind.
    EXPECT_THROW(throw EUnknownFileType(msg::UnknownFileId), EFileLoader);
    static_assert(std::is_base_of_v<std::exception, EAbortOp>);
    static_assert(std::is_base_of_v<std::exception, EVerifyError>);
    static_assert(!std::is_base_of_v<EISPException, EVerifyError>);
}

TEST(ErrorKinds, ComposedMessages) {
    EXPECT_EQ(msg::ComPortNotAvailableOnConnect("COM3"),
              "COM Port COM3 is not available - check hardware and Options");
    EXPECT_EQ(msg::ComPortNotAvailableOnReopen("COM3"),
              "COM Port COM3 is not available - check hardware or Reset");
    EXPECT_EQ(msg::VerifyFailedBytes(17), "EEPROM: Verification Failed - 17 bytes had errors");
    EXPECT_STREQ(kSettingsBaseKey, "Software\\velmar\\QorvikISP1");
}

} // namespace
} // namespace isp
