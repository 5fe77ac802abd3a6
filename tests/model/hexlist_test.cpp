#include "model/hexlist.h"
#include "model/isperrors.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace isp {
namespace {

// Runs f and returns the message of the EISPException it raised (and checks Source is empty).
std::string RangeError(const std::function<void()>& f) {
    try {
        f();
    } catch (const EISPException& e) {
        EXPECT_EQ(e.Source, "");
        return e.what();
    }
    ADD_FAILURE() << "no EISPException raised";
    return {};
}

THexList Buffer(int size, std::uint8_t blank = 0xFF) {
    THexList list;
    list.BlankValue = blank;
    list.SetSize(size);
    return list;
}

TEST(ProgStatus, FlagsAreBitsOfOneByte) {
    EXPECT_EQ(TProgStatus(ps_normal).Byte(), 0x01);
    EXPECT_EQ(TProgStatus(ps_programmed).Byte(), 0x02);
    EXPECT_EQ(TProgStatus(ps_verified).Byte(), 0x04);
    EXPECT_EQ(TProgStatus(ps_failed).Byte(), 0x08);
    EXPECT_EQ(TProgStatus(ps_read).Byte(), 0x10);
    TProgStatus both(ps_verified);
    both += ps_failed;
    EXPECT_TRUE(both.Has(ps_failed));
    EXPECT_TRUE(both.Has(ps_verified));
    EXPECT_FALSE(both.Has(ps_normal));
    EXPECT_EQ(TProgStatus::FromByte(0xFF).Byte(), 0x1F);
}

TEST(HexList, CheckedAccessesRaiseTheirOwnMessages) {
    THexList list = Buffer(0x20);
    EXPECT_EQ(RangeError([&] { list.GetValue(0x20); }), "THexList:GetValue:00000020 out of range");
    EXPECT_EQ(RangeError([&] { list.SetValue(0x20, 1); }),
              "Set Value of Address: 00000020 out of range");
    EXPECT_EQ(RangeError([&] { list.GetStatus(0xABCDEF01); }),
              "Get Status of Address: ABCDEF01 out of range");
    EXPECT_EQ(RangeError([&] { list.SetStatus(0x20, ps_failed); }),
              "Set Status of Address: 00000020 out of range");
    // A negative address is an unsigned address far beyond the buffer.
    EXPECT_EQ(RangeError([&] { list.GetValue(static_cast<std::uint32_t>(-1)); }),
              "THexList:GetValue:FFFFFFFF out of range");
}

TEST(HexList, RejectedAccessChangesNothing) {
    THexList list = Buffer(16);
    list.SetValue(15, 0x42);
    EXPECT_THROW(list.SetValue(16, 0x00), EISPException);
    EXPECT_THROW(list.SetStatus(16, ps_failed), EISPException);
    EXPECT_EQ(list.GetValue(15), 0x42);
    EXPECT_EQ(list.GetStatus(15), TProgStatus(ps_normal));
}

TEST(HexList, EmptyBufferRejectsEverythingAndScansGiveSentinels) {
    THexList list;
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.BlankValue, 0xFF);
    EXPECT_EQ(list.FileName, "");
    EXPECT_EQ(RangeError([&] { list.GetValue(0); }), "THexList:GetValue:00000000 out of range");
    EXPECT_THROW(list.SetValue(0, 0), EISPException);
    EXPECT_THROW(list.GetStatus(0), EISPException);
    EXPECT_THROW(list.SetStatus(0, ps_normal), EISPException);
    EXPECT_EQ(list.LastUsedAddress(), -1);
    EXPECT_EQ(list.UsedLength(), 0);
}

TEST(HexList, SetSizeClearsToBlankAndNormal) {
    THexList list = Buffer(64, 0x00);
    list.SetValue(3, 7);
    list.SetStatus(3, ps_failed);
    list.FileName = "image.hex";
    list.SetSize(48);
    ASSERT_EQ(list.Size(), 48);
    for (std::uint32_t a = 0; a < 48; ++a) {
        ASSERT_EQ(list.GetValue(a), 0x00) << a;
        ASSERT_EQ(list.GetStatus(a), TProgStatus(ps_normal)) << a;
    }
    EXPECT_EQ(list.FileName, "image.hex"); // Clear keeps the file name
}

TEST(HexList, ValueAndStatusAreIndependent) {
    THexList list = Buffer(16);
    list.SetStatus(4, ps_verified);
    list.SetValue(4, 0x99);
    EXPECT_EQ(list.GetStatus(4), TProgStatus(ps_verified));
    list.MarkAllFailed();
    EXPECT_EQ(list.GetValue(4), 0x99);
    for (std::uint32_t a = 0; a < 16; ++a) {
        ASSERT_TRUE(list.GetStatus(a).Has(ps_failed));
    }
}

TEST(HexList, FillWritesInclusiveRangeAndStopsAtFirstBadAddress) {
    THexList list = Buffer(32);
    list.SetStatus(6, ps_verified);
    list.Fill(5, 7, 0x11);
    EXPECT_EQ(list.GetValue(4), 0xFF);
    EXPECT_EQ(list.GetValue(5), 0x11);
    EXPECT_EQ(list.GetValue(7), 0x11);
    EXPECT_EQ(list.GetValue(8), 0xFF);
    EXPECT_EQ(list.GetStatus(6), TProgStatus(ps_verified)); // statuses untouched

    list.Fill(5, 4, 0x22); // last < first: nothing
    EXPECT_EQ(list.GetValue(5), 0x11);
    EXPECT_EQ(list.GetValue(4), 0xFF);

    EXPECT_EQ(RangeError([&] { list.Fill(0, list.Size(), 0x33); }),
              "Set Value of Address: 00000020 out of range");
    for (std::uint32_t a = 0; a < 32; ++a) {
        ASSERT_EQ(list.GetValue(a), 0x33) << a;
    }

    EXPECT_EQ(RangeError([&] { list.Fill(-2, 3, 0x44); }),
              "Set Value of Address: FFFFFFFE out of range");
    EXPECT_EQ(list.GetValue(0), 0x33);
}

TEST(HexList, LastUsedAddressEndsTheLineOfTheHighestNonBlankByte) {
    THexList list = Buffer(1024);
    EXPECT_EQ(list.LastUsedAddress(), 1023); // all blank: whole buffer
    list.SetValue(0x123, 0x00);
    EXPECT_EQ(list.LastUsedAddress(), 0x12F);
    list.SetValue(0x3F0, 0x01);
    EXPECT_EQ(list.LastUsedAddress(), 0x3FF);
}

TEST(HexList, UsedLengthAlwaysComparesWith0xFF) {
    // Blank 0x00 (AT17 parts), all zeros but one 0xFF at 0x10: LastUsedAddress follows
    // BlankValue, UsedLength the fixed 0xFF (the checksum tool relies on it).
    THexList list = Buffer(64, 0x00);
    list.SetValue(0x10, 0xFF);
    EXPECT_EQ(list.LastUsedAddress(), 0x1F);
    EXPECT_EQ(list.UsedLength(), 64); // the zeros above 0x10 are not 0xFF

    THexList erased = Buffer(64);
    EXPECT_EQ(erased.UsedLength(), 0);
    erased.SetValue(0x10, 0x00);
    EXPECT_EQ(erased.UsedLength(), 0x11);
}

TEST(HexList, LastUsedAddressStaysInsideAPartialLastLine) {
    THexList second = Buffer(5); // the 24C256's five-byte second memory
    second.SetValue(2, 0x12);
    EXPECT_EQ(second.LastUsedAddress(), 4);
    EXPECT_NO_THROW(second.GetValue(static_cast<std::uint32_t>(second.LastUsedAddress())));
}

TEST(HexList, DataExposesTheValueArray) {
    THexList list = Buffer(16);
    list.Data()[9] = 0x5A;
    EXPECT_EQ(list.GetValue(9), 0x5A);
}

} // namespace
} // namespace isp
