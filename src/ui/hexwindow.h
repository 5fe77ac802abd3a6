// THexWindow: the buffer as 16-byte lines (address, hexadecimal cells coloured by status,
// characters), with a cursor and byte-by-byte editing. Behaviour lives in THexViewModel; this
// class draws it and turns Qt events into its operations.
#pragma once

#include "ui/hexview_model.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>

class QMenu;

namespace isp {

class THexWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit THexWindow(QWidget* parent = nullptr);

    void SetData(THexList* buffer);
    THexList* Data() const { return model_.Data(); }
    void ResetView();
    THexViewModel& Model() { return model_; }

    QColor BackColor = Qt::white;
    QColor LabelColor = QColor(0x00, 0x80, 0x00);
    QColor DataColor = Qt::black;
    QColor AsciiColor = Qt::black;
    QColor ErrorColor = QColor(0xFF, 0x00, 0x00);
    QColor PassColor = QColor(0x00, 0x80, 0x00);
    bool readonly = false; // stored; editing does not consult it
    QMenu* PopUpMenu = nullptr;

    int CharWidth() const { return cw_; }
    int LineHeight() const { return lh_; }
    // The hint text shown over an address ("Test" before the mouse first moves).
    QString HintText() const { return hint_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SyncScrollBar();
    void UpdateVisibleLines();

    THexViewModel model_;
    QFont font_;
    int cw_ = 8;
    int lh_ = 16;
    QString hint_ = "Test";
    std::int64_t hintAddress_ = -1;
};

} // namespace isp
