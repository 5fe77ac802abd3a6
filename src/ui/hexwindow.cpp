#include "ui/hexwindow.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace isp {

namespace {

QString Hex(unsigned value, int digits) {
    return QString("%1").arg(value, digits, 16, QChar('0')).toUpper();
}

// Bytes are drawn as Latin-1 characters of the fixed font; control codes, which have no glyph,
// as '.'.
QChar CharOf(std::uint8_t value) {
    return (value < 0x20 || (value >= 0x7F && value < 0xA0)) ? QChar('.') : QChar(value);
}

} // namespace

THexWindow::THexWindow(QWidget* parent) : QAbstractScrollArea(parent) {
    font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font_.setPointSize(10);
    const QFontMetrics metrics(font_);
    cw_ = std::max(1, metrics.horizontalAdvance('A'));
    lh_ = std::max(1, metrics.height());
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setTracking(false); // follow the thumb when it is released
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value != model_.ScrollPosition()) {
            model_.Scroll(THexScroll::Thumb, value);
            viewport()->update();
        }
    });
    setMinimumWidth(73 * cw_ + 8 + verticalScrollBar()->sizeHint().width());
}

void THexWindow::SetData(THexList* buffer) {
    model_.SetData(buffer);
    ResetView();
}

void THexWindow::ResetView() {
    if (model_.Data()) {
        model_.ResetView();
    }
    UpdateVisibleLines();
    SyncScrollBar();
    viewport()->update();
}

void THexWindow::UpdateVisibleLines() {
    model_.SetVisibleLines(THexViewModel::VisibleLinesFor(viewport()->height(), lh_));
}

void THexWindow::SyncScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(0, model_.ScrollMaximum());
    bar->setPageStep(16);
    bar->setValue(model_.ScrollPosition());
}

void THexWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateVisibleLines();
}

void THexWindow::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), BackColor);
    THexList* buffer = model_.Data();
    if (!buffer) {
        return;
    }
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    const int ascent = metrics.ascent();
    const std::int64_t size = buffer->Size();
    const std::int64_t top = model_.Top();
    const int hexX = 4 + 9 * cw_;
    const int charX = hexX + 48 * cw_;
    for (std::int64_t line = top; line <= top + model_.VisibleLines() && 16 * line < size; ++line) {
        const int y = 4 + static_cast<int>(line - top) * lh_;
        painter.setPen(LabelColor);
        painter.drawText(4, y + ascent, Hex(static_cast<unsigned>(16 * line), 8));
        QString chars;
        for (int i = 0; i < 16 && 16 * line + i < size; ++i) {
            const auto address = static_cast<std::uint32_t>(16 * line + i);
            const std::uint8_t value = buffer->GetValue(address);
            switch (model_.ColourOf(address)) {
            case TCellColour::Error:
                painter.setPen(ErrorColor);
                break;
            case TCellColour::Pass:
                painter.setPen(PassColor);
                break;
            case TCellColour::Data:
                painter.setPen(DataColor);
                break;
            }
            painter.drawText(hexX + 3 * cw_ * i, y + ascent, Hex(value, 2));
            chars += CharOf(value);
        }
        painter.setPen(AsciiColor);
        painter.drawText(charX, y + ascent, chars);
    }
    // The cursor cell.
    const std::int64_t cursor = model_.Cursor();
    if (cursor / 16 < top || cursor / 16 > top + model_.VisibleLines() || cursor >= size) {
        return;
    }
    const int y = 4 + static_cast<int>(cursor / 16 - top) * lh_;
    const int i = static_cast<int>(cursor % 16);
    const std::uint8_t value = buffer->GetValue(static_cast<std::uint32_t>(cursor));
    if (model_.Column() == THexColumn::Char) {
        const QRect cell(charX + cw_ * i, y, cw_, lh_);
        painter.fillRect(cell, Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(cell.x(), y + ascent, QString(CharOf(value)));
    } else if (!model_.Editing()) {
        const QRect cell(hexX + 3 * cw_ * i, y, 2 * cw_, lh_);
        painter.fillRect(cell, Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(cell.x(), y + ascent, Hex(value, 2));
    } else {
        const QRect cell(hexX + 3 * cw_ * i, y, 2 * cw_ + 1, lh_ + 1);
        painter.fillRect(cell, palette().highlight());
        painter.setPen(palette().highlightedText().color());
        painter.drawText(cell.x(), y + ascent, QString::fromStdString(model_.CursorCellText()));
        painter.setPen(Qt::black);
        painter.drawRect(cell);
    }
}

bool THexWindow::focusNextPrevChild(bool) {
    return false; // Tab is one of the viewer's keys
}

void THexWindow::keyPressEvent(QKeyEvent* event) {
    if (!model_.Data()) {
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    std::optional<THexKey> key;
    switch (event->key()) {
    case Qt::Key_Left:
        key = THexKey::Left;
        break;
    case Qt::Key_Right:
        key = THexKey::Right;
        break;
    case Qt::Key_Up:
        key = THexKey::Up;
        break;
    case Qt::Key_Down:
        key = THexKey::Down;
        break;
    case Qt::Key_PageUp:
        key = THexKey::PageUp;
        break;
    case Qt::Key_PageDown:
        key = THexKey::PageDown;
        break;
    case Qt::Key_Home:
        key = THexKey::Home;
        break;
    case Qt::Key_End:
        key = THexKey::End;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        key = THexKey::Tab;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = THexKey::Enter;
        break;
    case Qt::Key_Escape:
        key = THexKey::Escape;
        break;
    case Qt::Key_Backspace:
        key = THexKey::Backspace;
        break;
    default:
        break;
    }
    if (key) {
        if (model_.Key(*key, ctrl)) {
            if (parentWidget()) {
                parentWidget()->setFocus(Qt::TabFocusReason);
                QAbstractScrollArea::focusNextPrevChild(true);
            }
        }
        SyncScrollBar();
        viewport()->update();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 256 && !ctrl) {
        model_.Char(static_cast<char>(text[0].unicode()));
        SyncScrollBar();
        viewport()->update();
    }
}

void THexWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (PopUpMenu) {
            PopUpMenu->popup(event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton || !model_.Data()) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    model_.Click(p.x(), p.y(), cw_, lh_);
    viewport()->update();
}

void THexWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!model_.Data()) {
        return;
    }
    const QPoint p = event->position().toPoint();
    const auto hit = model_.HitTest(p.x(), p.y(), cw_, lh_);
    const std::int64_t address = hit ? hit->address : -1;
    const auto lines = model_.HintLines(address);
    QStringList text;
    for (const std::string& line : lines) {
        text << QString::fromLatin1(line.c_str());
    }
    hint_ = text.join('\n');
    if (address != hintAddress_) {
        hintAddress_ = address;
        QToolTip::hideText();
        if (!hint_.isEmpty()) {
            QToolTip::showText(event->globalPosition().toPoint(), hint_, this);
        }
    }
}

void THexWindow::wheelEvent(QWheelEvent* event) {
    model_.Wheel(event->angleDelta().y());
    SyncScrollBar();
    viewport()->update();
}

} // namespace isp
