// The hex viewer's behaviour without pixels: edits, cursor movement, wheel, scroll, colours and
// hints.
#include "ui/hexview_model.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

constexpr int kCw = 8;  // character width
constexpr int kLh = 16; // line height

// The centre of a hexadecimal or character cell of view row r.
int HexX(int i) {
    return 4 + 9 * kCw + 3 * kCw * i + kCw;
}
int CharX(int i) {
    return 4 + 9 * kCw + 48 * kCw + kCw * i + kCw / 2;
}
int RowY(int r) {
    return 4 + kLh * r + kLh / 2;
}

class HexViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        buffer.SetSize(1024);
        view.SetData(&buffer);
        view.SetVisibleLines(10);
    }
    THexList buffer;
    THexViewModel view;
};

TEST_F(HexViewTest, TypingTwoDigitsWritesTheByteAndMovesOn) {
    buffer.SetStatus(0x12, ps_failed);
    view.Click(HexX(2), RowY(1), kCw, kLh); // address 0x12
    ASSERT_EQ(view.Cursor(), 0x12);
    view.CursorCellText(); // the repaint shows the current value as pending text
    view.Char('3');
    view.Char('a');
    EXPECT_EQ(buffer.GetValue(0x12), 0x3A);
    EXPECT_EQ(buffer.GetStatus(0x12), TProgStatus(ps_normal));
    EXPECT_EQ(view.Cursor(), 0x13);
    EXPECT_EQ(view.ColourOf(0x12), TCellColour::Data);
}

TEST_F(HexViewTest, EnterWithoutTypingRewritesTheValue) {
    buffer.SetValue(0x20, 0x77);
    buffer.SetStatus(0x20, ps_failed);
    view.Click(HexX(0), RowY(2), kCw, kLh);
    EXPECT_EQ(view.CursorCellText(), "77");
    view.Key(THexKey::Enter, false);
    EXPECT_EQ(buffer.GetValue(0x20), 0x77);
    EXPECT_EQ(buffer.GetStatus(0x20), TProgStatus(ps_normal));
    EXPECT_FALSE(view.Editing());
}

TEST_F(HexViewTest, CharacterColumn) {
    view.Click(CharX(4), RowY(0), kCw, kLh);
    ASSERT_EQ(view.Column(), THexColumn::Char);
    view.Char('Z');
    EXPECT_EQ(buffer.GetValue(4), 0x5A);
    EXPECT_EQ(view.Cursor(), 5);
    view.Click(CharX(8), RowY(0), kCw, kLh);
    view.Key(THexKey::Right, false); // an arrow after a click writes nothing
    EXPECT_EQ(buffer.GetValue(8), 0xFF);
    EXPECT_EQ(view.Cursor(), 9);
}

TEST_F(HexViewTest, BackspaceWhileEditing) {
    view.Click(HexX(0), RowY(0), kCw, kLh);
    view.CursorCellText();
    view.Char('7');
    view.Key(THexKey::Backspace, false);
    EXPECT_EQ(view.Pending(), "");
    view.CursorCellText(); // shows the byte's value again
    view.Char('1');
    view.Char('2');
    EXPECT_EQ(buffer.GetValue(0), 0x12);
    view.Click(HexX(5), RowY(0), kCw, kLh);
    view.Key(THexKey::Escape, false);
    EXPECT_FALSE(view.Editing());
}

TEST_F(HexViewTest, CursorMovesStopAtTheEnds) {
    view.MoveTo(0x35);
    view.Key(THexKey::End, false);
    EXPECT_EQ(view.Cursor(), 0x3F);
    view.Key(THexKey::Home, false);
    EXPECT_EQ(view.Cursor(), 0x30);
    view.Key(THexKey::End, true);
    EXPECT_EQ(view.Cursor(), 1023);
    EXPECT_EQ(view.Top(), 1023 / 16); // the cursor's line comes into view
    view.Key(THexKey::Home, true);
    EXPECT_EQ(view.Cursor(), 0);
    view.MoveTo(1000);
    view.Key(THexKey::PageDown, false);
    EXPECT_EQ(view.Cursor(), 1023);
    view.Key(THexKey::Left, false);
    view.MoveTo(-5);
    EXPECT_EQ(view.Cursor(), 0);
    EXPECT_TRUE(view.Key(THexKey::Tab, true)); // Ctrl+Tab leaves the control
    view.Key(THexKey::Tab, false);
    EXPECT_EQ(view.Column(), THexColumn::Char);
}

TEST_F(HexViewTest, WheelAndScrollBar) {
    view.MoveTo(5);
    view.Wheel(120); // up near the start: the cursor stays
    EXPECT_EQ(view.Cursor(), 5);
    EXPECT_EQ(view.Top(), 0);
    view.MoveTo(200);
    view.Wheel(120);
    EXPECT_EQ(view.Cursor(), 80);
    EXPECT_EQ(view.Top(), 5);
    EXPECT_EQ(view.ScrollPosition(), 5);

    view.Scroll(THexScroll::Thumb, 40); // the cursor's line (5) is above the view now
    EXPECT_EQ(view.Top(), 40);
    EXPECT_EQ(view.Cursor(), 16 * 40);
    view.Scroll(THexScroll::Bottom);
    EXPECT_EQ(view.ScrollPosition(), 64);
    view.Scroll(THexScroll::LineDown); // clamped
    EXPECT_EQ(view.ScrollPosition(), 64);
    view.Key(THexKey::Up, true); // Ctrl+Up scrolls one line
    EXPECT_EQ(view.Top(), view.Cursor() / 16);
}

TEST_F(HexViewTest, ColoursAndHints) {
    TProgStatus both(ps_verified);
    both += ps_failed;
    buffer.SetStatus(1, both);
    buffer.SetStatus(2, ps_verified);
    EXPECT_EQ(view.ColourOf(0), TCellColour::Data);
    EXPECT_EQ(view.ColourOf(1), TCellColour::Error);
    EXPECT_EQ(view.ColourOf(2), TCellColour::Pass);

    buffer.SetValue(0x10, 0xA5);
    EXPECT_EQ(view.HintLines(0x10),
              (std::vector<std::string>{"Address : 0x00000010", "Hex Data: 0xA5", "Dec Data: 165",
                                        "Bin Data: 1010 0101", "As Ascii: \xA5"}));
    EXPECT_TRUE(view.HintLines(1024).empty());
    const auto hit = view.HitTest(HexX(3), RowY(2), kCw, kLh);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->address, 0x23);
    EXPECT_FALSE(view.HitTest(2, RowY(2), kCw, kLh)); // the address column
    EXPECT_EQ(THexViewModel::VisibleLinesFor(4 + 16 * 12, 16), 11);
}

TEST(HexView, NoBufferIgnoresEverything) {
    THexViewModel view;
    view.Char('1');
    EXPECT_FALSE(view.Key(THexKey::Down, false));
    view.Click(HexX(0), RowY(0), kCw, kLh);
    view.Wheel(-120);
    EXPECT_EQ(view.Cursor(), 0);
    EXPECT_TRUE(view.HintLines(0).empty());
}

} // namespace
} // namespace isp
