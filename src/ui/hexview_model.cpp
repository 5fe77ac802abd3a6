#include "ui/hexview_model.h"

#include "model/ispdefs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace isp {

namespace {

bool IsHexChar(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

void THexViewModel::SetData(THexList* buffer) {
    buffer_ = buffer;
    if (buffer_) {
        ResetView();
    }
}

void THexViewModel::ResetView() {
    scrollPosition_ = 0;
    cursor_ = 0;
    top_ = 0;
    editing_ = false;
    pending_.clear();
}

void THexViewModel::MoveTo(std::int64_t address) {
    if (editing_ && column_ == THexColumn::Char) {
        editing_ = false;
    }
    if (editing_ && column_ == THexColumn::Hex && pending_.size() == 2) {
        editing_ = false;
        Write(HexPairToByte(pending_));
    }
    pending_.clear();
    const std::int64_t last = buffer_ ? buffer_->Size() - 1 : 0;
    cursor_ = std::clamp<std::int64_t>(address, 0, std::max<std::int64_t>(last, 0));
}

void THexViewModel::Write(std::uint8_t value) {
    const auto at = static_cast<std::uint32_t>(cursor_);
    buffer_->SetValue(at, value);
    buffer_->SetStatus(at, ps_normal);
    pending_.clear();
}

void THexViewModel::AfterKey() {
    if (cursor_ < 16 * top_ || cursor_ > 16 * (top_ + visible_)) {
        top_ = cursor_ / 16;
    }
    MoveTo(cursor_);
    scrollPosition_ = static_cast<int>(cursor_ / 16);
}

bool THexViewModel::Key(THexKey key, bool ctrl) {
    if (!buffer_) {
        return false;
    }
    const std::int64_t lineStart = cursor_ - cursor_ % 16;
    switch (key) {
    case THexKey::Left:
        MoveTo(cursor_ - 1);
        break;
    case THexKey::Right:
        MoveTo(cursor_ + 1);
        break;
    case THexKey::Up:
        if (ctrl) {
            Scroll(THexScroll::Thumb, static_cast<int>(top_ - 1));
        } else {
            MoveTo(cursor_ - 16);
        }
        break;
    case THexKey::Down:
        if (ctrl) {
            Scroll(THexScroll::Thumb, static_cast<int>(top_ + 1));
        } else {
            MoveTo(cursor_ + 16);
        }
        break;
    case THexKey::PageUp:
        MoveTo(ctrl ? 16 * top_ : cursor_ - 16 * visible_);
        break;
    case THexKey::PageDown:
        MoveTo(ctrl ? 16 * (top_ + visible_) : cursor_ + 16 * visible_);
        break;
    case THexKey::Home:
        MoveTo(ctrl ? 0 : lineStart);
        break;
    case THexKey::End:
        MoveTo(ctrl ? buffer_->Size() - 1 : lineStart + 15);
        break;
    case THexKey::Tab:
        pending_.clear();
        if (ctrl) {
            editing_ = false;
            return true;
        }
        column_ = column_ == THexColumn::Hex ? THexColumn::Char : THexColumn::Hex;
        break;
    case THexKey::Enter:
        if (editing_ && pending_.size() == 2) {
            Write(HexPairToByte(pending_));
            editing_ = false;
        }
        break;
    case THexKey::Escape:
        if (editing_) {
            editing_ = false;
            pending_.clear();
        }
        break;
    case THexKey::Backspace:
        if (editing_ && column_ == THexColumn::Hex && !pending_.empty()) {
            pending_.resize(pending_.size() - 1);
        }
        break;
    }
    AfterKey();
    return false;
}

void THexViewModel::Char(char c) {
    if (!buffer_ || static_cast<unsigned char>(c) < 32) {
        return;
    }
    if (column_ == THexColumn::Char) {
        editing_ = false;
        Write(static_cast<std::uint8_t>(c));
        MoveTo(cursor_ + 1);
        return;
    }
    if (!IsHexChar(c)) {
        return;
    }
    const char digit = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!editing_ || pending_.empty()) {
        editing_ = true;
        pending_ = std::string(1, digit);
    } else if (pending_.size() == 2) {
        pending_ = std::string(1, digit);
    } else {
        pending_ += digit;
        editing_ = false;
        Write(HexPairToByte(pending_));
        MoveTo(cursor_ + 1);
    }
}

std::optional<THexHit> THexViewModel::HitTest(int x, int y, int cw, int lh) const {
    if (!buffer_ || cw <= 0 || lh <= 0 || y <= 4) {
        return std::nullopt;
    }
    const int row = (y - 4) / lh;
    const int hexStart = 4 + 9 * cw;
    if (x <= hexStart) {
        return std::nullopt;
    }
    const int col = (x - hexStart) / (3 * cw);
    const std::int64_t lineStart = 16 * top_ + 16 * static_cast<std::int64_t>(row);
    if (col <= 15) {
        return THexHit{lineStart + col, THexColumn::Hex};
    }
    const int c = (x - hexStart - 48 * cw) / cw;
    if (x >= hexStart + 48 * cw && c < 16) {
        return THexHit{lineStart + c, THexColumn::Char};
    }
    return std::nullopt;
}

void THexViewModel::Click(int x, int y, int cw, int lh) {
    if (!buffer_) {
        return;
    }
    editing_ = false;
    pending_.clear();
    if (const auto hit = HitTest(x, y, cw, lh)) {
        MoveTo(hit->address);
        column_ = hit->column;
    }
    editing_ = true;
}

void THexViewModel::Wheel(int delta) {
    if (!buffer_) {
        return;
    }
    if (cursor_ - delta / 16 >= 0) {
        MoveTo(cursor_ - delta);
    }
    top_ = cursor_ / 16;
    scrollPosition_ = static_cast<int>(top_);
}

void THexViewModel::Scroll(THexScroll code, int position) {
    if (!buffer_) {
        return;
    }
    int p = scrollPosition_;
    switch (code) {
    case THexScroll::LineUp:
        p -= 1;
        break;
    case THexScroll::LineDown:
        p += 1;
        break;
    case THexScroll::PageUp:
        p -= visible_;
        break;
    case THexScroll::PageDown:
        p += visible_;
        break;
    case THexScroll::Thumb:
        p = position;
        break;
    case THexScroll::Top:
        p = 0;
        break;
    case THexScroll::Bottom:
        p = ScrollMaximum();
        break;
    }
    p = std::clamp(p, 0, ScrollMaximum());
    scrollPosition_ = p;
    top_ = p;
    const std::int64_t cursorLine = cursor_ / 16;
    if (cursorLine < top_) {
        MoveTo(16 * top_);
    } else if (cursorLine >= top_ + visible_) {
        MoveTo(16 * (top_ + visible_));
    }
}

std::string THexViewModel::CursorCellText() {
    if (editing_ && column_ == THexColumn::Hex && pending_.empty() && buffer_) {
        pending_ = HexDigits(buffer_->GetValue(static_cast<std::uint32_t>(cursor_)), 2);
    }
    return pending_;
}

TCellColour THexViewModel::ColourOf(std::uint32_t address) const {
    const TProgStatus status = buffer_->GetStatus(address);
    if (status.Has(ps_failed)) {
        return TCellColour::Error;
    }
    return status.Has(ps_verified) ? TCellColour::Pass : TCellColour::Data;
}

std::vector<std::string> THexViewModel::HintLines(std::int64_t address) const {
    if (!buffer_ || address < 0 || address >= buffer_->Size()) {
        return {};
    }
    const std::uint8_t value = buffer_->GetValue(static_cast<std::uint32_t>(address));
    const std::string bits = ByteToBin(value);
    return {"Address : 0x" + HexDigits(static_cast<unsigned>(address), 8),
            "Hex Data: 0x" + HexDigits(value, 2), "Dec Data: " + std::to_string(value),
            "Bin Data: " + bits.substr(0, 4) + " " + bits.substr(4),
            "As Ascii: " + std::string(1, static_cast<char>(value))};
}

} // namespace isp
