// The numeric edit field: its arithmetic, and keys typed into the widget.
#include "ui/hexedit.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(HexEditRules, ParseAndFormat) {
    THexEditRules rules;
    EXPECT_EQ(rules.FormatValue(255), "FF");
    EXPECT_EQ(rules.FormatValue(0), "0");
    rules.base = ebBin;
    EXPECT_EQ(rules.FormatValue(255), "11111111");
    EXPECT_EQ(rules.ParseText("10"), 2);
    rules.base = ebOct;
    EXPECT_EQ(rules.FormatValue(255), "377");
    rules.base = ebHex;
    EXPECT_EQ(rules.ParseText("7FFFFFFF"), 0x7FFFFFFF);
    EXPECT_EQ(rules.ParseText("80000000"), static_cast<std::int32_t>(0x80000000u));
    EXPECT_EQ(rules.ParseText("100000001"), 1); // modulo 2^32
    EXPECT_EQ(rules.ParseText(""), 0);
    EXPECT_EQ(rules.ParseText(std::string(256, '1')), 0); // only length mod 256 characters
    EXPECT_EQ(rules.Normalise(static_cast<std::int32_t>(0x80000000u)), 0);
}

TEST(HexEditRules, ValidTexts) {
    THexEditRules rules;
    rules.base = ebDec;
    EXPECT_TRUE(rules.IsValidText(""));
    EXPECT_TRUE(rules.IsValidText("0123"));
    EXPECT_FALSE(rules.IsValidText("12A"));
    EXPECT_FALSE(rules.IsValidText("1a"));
    rules.validate = true;
    rules.minValue = 1;
    rules.maxValue = 100;
    EXPECT_FALSE(rules.IsValidText("0"));
    EXPECT_FALSE(rules.IsValidText("101"));
    EXPECT_TRUE(rules.IsValidText("100"));
    EXPECT_EQ(rules.Normalise(500), 100);
}

TEST(HexEdit, TypingPerBase) {
    THexEdit edit;
    EXPECT_EQ(edit.text(), "0");
    const struct {
        TEditBase base;
        const char* keys;
        const char* text;
        int value;
    } cases[] = {
        {ebBin, "102", "10", 2},
        {ebHex, "3a", "3A", 0x3A},
        {ebDec, "9a1", "91", 91},
        {ebOct, "789", "7", 7},
    };
    for (const auto& c : cases) {
        edit.SetNumBase(c.base);
        edit.clear();
        QTest::keyClicks(&edit, c.keys);
        EXPECT_EQ(edit.text().toStdString(), c.text) << c.keys;
        EXPECT_EQ(edit.Value(), c.value) << c.keys;
    }
    edit.SetNumBase(ebHex);
    edit.SetValue(255);
    edit.SetNumBase(ebDec);
    EXPECT_EQ(edit.text(), "255");
}

TEST(HexEdit, RangeIsEnforcedKeyByKey) {
    THexEdit edit;
    edit.SetNumBase(ebDec);
    edit.SetMaxValue(100);
    edit.SetMinValue(1);
    edit.SetValidate(true);
    EXPECT_EQ(edit.text(), "1"); // 0 moved into the range
    edit.clear();
    QTest::keyClicks(&edit, "0");
    EXPECT_EQ(edit.text(), "");
    QTest::keyClicks(&edit, "123");
    EXPECT_EQ(edit.text(), "12"); // a third digit would pass 100
    edit.SetValue(-5);
    EXPECT_EQ(edit.text(), "1");
    edit.SetValidate(false);
    edit.SetValue(-5);
    EXPECT_EQ(edit.text(), "0");
}

TEST(HexEdit, BackspaceDeleteCutAndPaste) {
    THexEdit edit;
    edit.SetNumBase(ebDec);
    edit.SetValue(1234);
    edit.setCursorPosition(4);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "123");
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "23");

    QApplication::clipboard()->setText("45");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "2453");
    QApplication::clipboard()->setText("x7");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "2453"); // not a number: refused

    edit.setSelection(1, 2);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "23");
    EXPECT_EQ(QApplication::clipboard()->text(), "45");

    // With a range, a cut that would leave a number below it is refused.
    edit.SetMinValue(20);
    edit.SetMaxValue(99);
    edit.SetValidate(true);
    edit.setSelection(0, 1);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "23");
}

TEST(HexEdit, LeavingTheFieldNormalises) {
    THexEdit edit;
    const auto leave = [&edit] {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&edit, &out);
    };
    edit.setText("0007");
    leave();
    EXPECT_EQ(edit.text(), "7");
    edit.setText("80000000");
    leave();
    EXPECT_EQ(edit.text(), "0");
    edit.SetNumBase(ebDec);
    edit.setText("4294967295"); // 0xFFFFFFFF reads as -1
    leave();
    EXPECT_EQ(edit.text(), "0");
}

} // namespace
} // namespace isp
