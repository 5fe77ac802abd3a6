// A captioned group of radio buttons with an item index, like the option groups of the dialogs.
// ItemChanged fires whenever the selection changes, by the operator or by code, and never when
// the selection set is the current one.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace isp {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
    // -1 when nothing is selected.
    int ItemIndex() const { return index_; }
    void SetItemIndex(int index);
    QStringList Items() const { return items_; }

signals:
    void ItemChanged(int index);

private:
    QButtonGroup buttons_;
    QStringList items_;
    int index_ = -1;
};

} // namespace isp
