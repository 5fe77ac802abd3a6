// The hex viewer without pixels: which line is on top, where the cursor is, what an edit has
// typed so far, and how keys, clicks, the wheel and the scroll bar move them. THexWindow draws it
// and feeds it events.
#pragma once

#include "model/hexlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace isp {

enum class THexColumn { Hex, Char };
enum class THexKey {
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Tab,
    Enter,
    Escape,
    Backspace
};
enum class THexScroll { LineUp, LineDown, PageUp, PageDown, Thumb, Top, Bottom };
enum class TCellColour { Data, Pass, Error };

struct THexHit {
    std::int64_t address;
    THexColumn column;
};

class THexViewModel {
public:
    // Attaches a buffer (nullptr detaches); a buffer resets the view.
    void SetData(THexList* buffer);
    THexList* Data() const { return buffer_; }
    void ResetView();

    // V: the number of lines below the top one that fit; set from the widget's height.
    void SetVisibleLines(int lines) { visible_ = lines < 0 ? 0 : lines; }
    int VisibleLines() const { return visible_; }
    static int VisibleLinesFor(int clientHeight, int lineHeight) {
        return (clientHeight - 4) / lineHeight - 1;
    }

    void MoveTo(std::int64_t address);
    // A key of the table; returns true when Ctrl+Tab hands the focus to the parent.
    bool Key(THexKey key, bool ctrl);
    // A printable character typed.
    void Char(char c);
    // The cell under a point of the drawing (cw: character width, lh: line height), if any.
    std::optional<THexHit> HitTest(int x, int y, int cw, int lh) const;
    // Left button at a point: moves there and starts editing.
    void Click(int x, int y, int cw, int lh);
    // The main window's wheel rule; delta is 120 per notch, positive away from the user.
    void Wheel(int delta);
    void Scroll(THexScroll code, int position = 0);

    // For drawing.
    std::int64_t Cursor() const { return cursor_; }
    std::int64_t Top() const { return top_; }
    int ScrollPosition() const { return scrollPosition_; }
    int ScrollMaximum() const { return buffer_ ? buffer_->Size() / 16 : 0; }
    THexColumn Column() const { return column_; }
    bool Editing() const { return editing_; }
    const std::string& Pending() const { return pending_; }
    // The text of the cursor's hexadecimal cell while editing (the value when nothing is typed).
    std::string CursorCellText();
    TCellColour ColourOf(std::uint32_t address) const;
    // The five hint lines for an address inside the buffer, empty otherwise.
    std::vector<std::string> HintLines(std::int64_t address) const;

private:
    void Write(std::uint8_t value);
    void AfterKey();

    THexList* buffer_ = nullptr;
    std::int64_t cursor_ = 0;
    std::int64_t top_ = 0;
    int scrollPosition_ = 0;
    int visible_ = 0;
    THexColumn column_ = THexColumn::Hex;
    bool editing_ = false;
    std::string pending_;
};

} // namespace isp
