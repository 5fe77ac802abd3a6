#include "ui/radiogroup.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace isp {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), items_(items) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_.addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    connect(&buttons_, &QButtonGroup::idClicked, this, [this](int id) { SetItemIndex(id); });
}

void TRadioGroup::SetItemIndex(int index) {
    if (index == index_) {
        return;
    }
    index_ = index;
    if (QAbstractButton* button = buttons_.button(index)) {
        button->setChecked(true);
    }
    emit ItemChanged(index);
}

} // namespace isp
