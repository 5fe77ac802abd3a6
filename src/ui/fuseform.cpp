#include "ui/fuseform.h"

#include "model/ispdefs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace isp {

namespace {

// "10001100 8Ch": the bits, a space, two upper-case hex digits and "h".
QString StatusText(std::uint8_t value) {
    return QString::fromStdString(ByteToBin(value)) + " " +
           QString("%1").arg(value, 2, 16, QChar('0')).toUpper() + "h";
}

} // namespace

TBaseFuseForm::TBaseFuseForm(QWidget* parent) : TOptionsFrame(parent) {
    setWindowTitle("Device Fuses");
    setFrameShape(QFrame::NoFrame);

    Group25C = new QGroupBox("25CXX Devices", this);
    WPEN = new TRadioGroup("Write Protection Enable Pin", {"Enabled", "Disabled"}, Group25C);
    WPEN->SetItemIndex(1);
    Label1 = new QLabel("WARNING! You may not be able to write to the device after setting the "
                        "Write Protection Enable Pin.",
                        Group25C);
    Label1->setWordWrap(true);
    Label1->setStyleSheet("color: red");
    BP = new TRadioGroup("Block Write Protection",
                         {"Level 0 - NONE", "Level 1 - 1/4", "Level 2 - 1/2", "Level 3 -  ALL"},
                         Group25C);
    BP->SetItemIndex(0);
    Label2 = new QLabel("Status Register:", Group25C);
    StatusReg = new QLineEdit("00000000", Group25C);
    StatusReg->setReadOnly(true);
    StatusReg->setAlignment(Qt::AlignRight);
    auto* grid25 = new QGridLayout(Group25C);
    grid25->addWidget(WPEN, 0, 0);
    grid25->addWidget(Label1, 1, 0, 2, 1);
    grid25->addWidget(BP, 0, 1, 2, 2);
    grid25->addWidget(Label2, 2, 1);
    grid25->addWidget(StatusReg, 2, 2);

    Group93C = new QGroupBox("93CX6 Devices", this);
    Mode = new TRadioGroup("Programming Mode", {"X8", "X16"}, Group93C);
    Mode->SetItemIndex(1);
    Label5 = new QLabel("Write All Value:", Group93C);
    WriteAllValue = new THexEdit(Group93C);
    WriteAllValue->SetMaxValue(255);
    WriteAllValue->SetValidate(true);
    auto* box93 = new QVBoxLayout(Group93C);
    box93->addWidget(Mode);
    box93->addWidget(Label5);
    box93->addWidget(WriteAllValue);

    ResetPolarity = new TRadioGroup("MCU Reset Polarity", {"Low", "High", "Off"}, this);
    ResetPolarity->SetItemIndex(2);
    ResetPolarity->setToolTip("MCU Reset Polarity :\nUsed to put Microcontroller\ninto reset while "
                              "eeprom\nprogramming is activated");

    const QString addressHint = "Enter Bus Number and Software will calculate A2-A0 values";
    GroupBox1 = new QGroupBox("I2C Bus Address Select", this);
    Label3 = new QLabel("Device Bus Address:", GroupBox1);
    Label3->setToolTip(addressHint);
    DeviceAddress = new THexEdit(GroupBox1);
    DeviceAddress->SetNumBase(ebDec);
    DeviceAddress->SetMaxValue(15);
    DeviceAddress->SetValidate(true);
    DeviceAddress->setToolTip(addressHint);
    auto* box1 = new QVBoxLayout(GroupBox1);
    box1->addWidget(Label3);
    box1->addWidget(DeviceAddress);
    box1->addStretch();

    Button1 = new QPushButton("Defaults", this);

    GroupBox2 = new QGroupBox("Device Page Size", this);
    Label4 = new QLabel("Device Page Size:", GroupBox2);
    DevicePageSize = new THexEdit(GroupBox2);
    DevicePageSize->SetNumBase(ebDec);
    DevicePageSize->SetMaxValue(255);
    DevicePageSize->SetValidate(true);
    auto* box2 = new QVBoxLayout(GroupBox2);
    box2->addWidget(Label4);
    box2->addWidget(DevicePageSize);
    box2->addStretch();

    A2 = new QCheckBox("A2 Pin High", this);
    A2->hide();
    ResetPol = new QCheckBox("Reset Polarity Low", this);
    FpgaFamily = new TRadioGroup("Family", {"AT40K/AT94K/Cyress", "AT6K/Other"}, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Group25C, 0, 0, 1, 2);
    grid->addWidget(Group93C, 0, 2);
    grid->addWidget(ResetPolarity, 1, 0);
    grid->addWidget(GroupBox1, 1, 1);
    grid->addWidget(GroupBox2, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1);
    bottom->addWidget(A2);
    bottom->addWidget(ResetPol);
    bottom->addWidget(FpgaFamily);
    bottom->addStretch();
    grid->addLayout(bottom, 2, 0, 1, 3);
    grid->setRowStretch(3, 1);

    connect(WPEN, &TRadioGroup::ItemChanged, this, [this] { ComposeStatusRegister(); });
    connect(BP, &TRadioGroup::ItemChanged, this, [this] { ComposeStatusRegister(); });
    connect(Mode, &TRadioGroup::ItemChanged, this, [this](int index) {
        if (programmer_) {
            programmer_->SetProgMode(index == 0 ? 8 : 16);
            programmer_->SaveSettings();
        }
    });
    connect(DevicePageSize, &QLineEdit::textChanged, this, [this] {
        if (programmer_) {
            programmer_->pageSize = static_cast<std::uint32_t>(DevicePageSize->Value());
        }
    });
    connect(A2, &QCheckBox::toggled, this, [this](bool on) {
        if (programmer_) {
            programmer_->a2PinHigh = on;
        }
    });
    connect(ResetPol, &QCheckBox::toggled, this, [this](bool on) {
        if (programmer_) {
            programmer_->resetPolarityLow = on;
        }
    });
    connect(FpgaFamily, &TRadioGroup::ItemChanged, this, [this](int index) {
        if (programmer_) {
            programmer_->msbFirst = index == 0;
        }
        if (ReloadFile) {
            ReloadFile();
        }
    });
    connect(Button1, &QPushButton::clicked, this, [this] { Defaults(); });
}

std::uint8_t TBaseFuseForm::ComposeStatusRegister() {
    const auto value = static_cast<std::uint8_t>((WPEN->ItemIndex() == 0 ? 0x80 : 0x00) +
                                                 std::max(BP->ItemIndex(), 0) * 4);
    StatusReg->setText(StatusText(value));
    return value;
}

void TBaseFuseForm::ShowStatusRegister(std::uint8_t value) {
    StatusReg->setText(StatusText(value));
    WPEN->SetItemIndex(1 - (value >> 7));
    BP->SetItemIndex((value >> 2) & 3);
}

void TBaseFuseForm::Defaults() {
    const int page = programmer_ && programmer_->device ? programmer_->device->PageSize : 0;
    DevicePageSize->SetValue(page);
    if (programmer_) {
        programmer_->pageSize = static_cast<std::uint32_t>(page);
        programmer_->a2PinHigh = false;
        programmer_->resetPolarityLow = true;
    }
    A2->setChecked(false);
    ResetPol->setChecked(true);
    FpgaFamily->SetItemIndex(1);
}

void InstallOptionsFrameFactory() {
    OptionsFrameHook() = [](TOptionsFrameOwner* owner) -> TOptionsFrame* {
        return new TBaseFuseForm(owner);
    };
}

} // namespace isp
