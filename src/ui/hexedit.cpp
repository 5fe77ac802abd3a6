#include "ui/hexedit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace isp {

THexEdit::THexEdit(QWidget* parent) : QLineEdit(parent) {
    SetValue(0);
}

void THexEdit::SetNumBase(TEditBase base) {
    const std::int32_t value = Value();
    rules_.base = base;
    SetValue(value);
}

void THexEdit::SetMinValue(std::int32_t value) {
    rules_.minValue = value < 0 ? 0 : value;
    SetValue(Value());
}

void THexEdit::SetMaxValue(std::int32_t value) {
    rules_.maxValue = value < 0 ? 0 : value;
    SetValue(Value());
}

void THexEdit::SetValidate(bool on) {
    rules_.validate = on;
    SetValue(Value());
}

std::int32_t THexEdit::Value() const {
    return rules_.ParseText(text().toStdString());
}

void THexEdit::SetValue(std::int32_t value) {
    setText(QString::fromStdString(rules_.FormatValue(rules_.Normalise(value))));
}

bool THexEdit::Accepts(const QString& candidate) const {
    return rules_.IsValidText(candidate.toStdString());
}

void THexEdit::keyPressEvent(QKeyEvent* event) {
    const QString current = text();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selected = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    const auto without = [&](int from, int count) {
        QString t = current;
        t.remove(from, count);
        return t;
    };

    if (event->matches(QKeySequence::Copy) ||
        (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool cut = event->matches(QKeySequence::Cut) ||
                     (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ShiftModifier);
    if (cut) {
        if (Accepts(without(caret, selected))) {
            QLineEdit::cut();
        }
        return;
    }
    const bool paste = event->matches(QKeySequence::Paste) ||
                       (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
    if (paste) {
        const QString clip = QApplication::clipboard()->text();
        if (clip.isEmpty()) {
            return;
        }
        // The clipboard's text goes in at the caret; the selection stays.
        QString candidate = current;
        candidate.insert(caret, clip);
        if (Accepts(candidate)) {
            setText(candidate);
            setCursorPosition(caret + static_cast<int>(clip.size()));
        }
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        const QString candidate = selected    ? without(caret, selected)
                                  : caret > 0 ? without(caret - 1, 1)
                                              : current;
        if (Accepts(candidate)) {
            QLineEdit::keyPressEvent(event);
        }
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        const QString candidate = selected ? without(caret, selected) : without(caret, 1);
        if (Accepts(candidate)) {
            QLineEdit::keyPressEvent(event);
        }
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = typed[0].toUpper();
        const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        if (!digit) {
            return;
        }
        QString candidate = current;
        candidate.replace(caret, selected, c);
        if (Accepts(candidate)) {
            insert(QString(c)); // replaces the selection, upper case
        }
        return;
    }
    QLineEdit::keyPressEvent(event); // movement and other keys
}

void THexEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason) {
        selectAll();
    }
}

void THexEdit::focusOutEvent(QFocusEvent* event) {
    SetValue(Value()); // leading zeros, the range, 0x80000000 and above become 0
    QLineEdit::focusOutEvent(event);
}

} // namespace isp
