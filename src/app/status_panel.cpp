#include "app/status_panel.h"

#include <QPainter>

namespace isp {

TStatusPanel::TStatusPanel(QWidget* parent) : QWidget(parent) {
    setFixedWidth(450);
    setMinimumHeight(fontMetrics().height() + 6);
}

void TStatusPanel::SetStatus(const std::string& statusText, bool blinkOn) {
    status_ = statusText;
    if (status_.size() >= 2 && status_[1] == '|') {
        switch (status_[0]) {
        case '0':
            led_ = DoneColour();
            break;
        case '1':
            led_ = WorkingColour();
            break;
        case '2':
            led_ = blinkOn ? ErrorColour() : QColor(Qt::black);
            break;
        default:
            break; // keeps the previous colour
        }
        text_ = QString::fromStdString(status_.substr(2));
    } else {
        text_.clear();
    }
    update();
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (status_.size() < 2 || status_[1] != '|') {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const int diameter = 12;
    const int top = (height() - diameter) / 2;
    painter.setPen(Qt::black);
    painter.setBrush(led_);
    painter.drawEllipse(4, top, diameter, diameter);
    const int letter = fontMetrics().boundingRect('A').height();
    painter.setPen(Qt::black);
    painter.drawText(height() + 4, (height() + letter) / 2, text_);
}

} // namespace isp
