// The status bar's first panel: a round indicator coloured by the kind of the current status
// (green done, orange working, red blinking for an error) and the status text beside it.
#pragma once

#include <QColor>
#include <QWidget>
#include <string>

namespace isp {

class TStatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    // statusText carries its "0|", "1|" or "2|" prefix; blinkOn is the error blink phase.
    void SetStatus(const std::string& statusText, bool blinkOn);
    QColor LedColour() const { return led_; }
    QString Text() const { return text_; }

    static QColor DoneColour() { return {0x00, 0xFF, 0x40}; }
    static QColor WorkingColour() { return {0xFF, 0x80, 0x00}; }
    static QColor ErrorColour() { return {0xFF, 0x00, 0x00}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string status_;
    QString text_;
    QColor led_ = Qt::black;
};

} // namespace isp
