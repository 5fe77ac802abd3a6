#include "ui/programmer_dialogs.h"

#include "programmer/hardware.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace isp {

TIspConfigDialog::TIspConfigDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("ISP Configuration");
    auto* ports = new QGroupBox("Communications Port", this);
    PortSelector = new QComboBox(ports);
    PortSelector->setEditable(false);
    auto* portsLayout = new QVBoxLayout(ports);
    portsLayout->addWidget(PortSelector);

    auto* timing = new QGroupBox("Device Timing", this);
    ProgTimeLabel = new QLabel("EEPROM Prog Time:", timing);
    ProgTime = new THexEdit(timing);
    ProgTime->SetNumBase(ebDec);
    ProgTime->SetMaxValue(255);
    ProgTime->SetValidate(true);
    auto* explanation = new QLabel(
        "This option selects the delay in mS that is used after each page or byte is written to "
        "the I2C devices\n\nReducing this value will increase programming speeds but may cause "
        "programming errors if the value is too low.\n\nA 0 value will set the default value for "
        "the device.  Read delay on AT17F family.",
        timing);
    explanation->setWordWrap(true);
    auto* timingLayout = new QGridLayout(timing);
    timingLayout->addWidget(ProgTimeLabel, 0, 0);
    timingLayout->addWidget(ProgTime, 0, 1);
    timingLayout->addWidget(explanation, 1, 0, 1, 2);

    auto* clock = new QGroupBox("Clock Programming Speed", this);
    Fast = new QRadioButton("Fast", clock);
    Medium = new QRadioButton("Medium", clock);
    Slow = new QRadioButton("Slow", clock);
    Fast->setChecked(true);
    FastLabel = new QLabel("400KHz I2C (24 and AT17 series), 25 series (SPI) and 93C", clock);
    MediumLabel = new QLabel("100KHz ", clock);
    SlowLabel = new QLabel("35KHz ", clock);
    auto* clockLayout = new QGridLayout(clock);
    clockLayout->addWidget(Fast, 0, 0);
    clockLayout->addWidget(FastLabel, 0, 1);
    clockLayout->addWidget(Medium, 1, 0);
    clockLayout->addWidget(MediumLabel, 1, 1);
    clockLayout->addWidget(Slow, 2, 0);
    clockLayout->addWidget(SlowLabel, 2, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("Ok", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ports);
    layout->addWidget(timing);
    layout->addWidget(clock);
    layout->addWidget(buttons);
}

void TIspConfigDialog::AddPort(const std::string& comName, const std::string& devicePath) {
    const QString name = QString::fromStdString(comName);
    PortSelector->addItem(
        devicePath.empty() ? name : name + "  (" + QString::fromStdString(devicePath) + ")", name);
}

void TIspConfigDialog::Prepare(int portIndex, int progTime, bool isFlash) {
    for (int i = 0; i < PortSelector->count(); ++i) {
        if (PortIndexFromName(PortSelector->itemData(i).toString().toStdString()) == portIndex) {
            PortSelector->setCurrentIndex(i);
            break;
        }
        PortSelector->setCurrentIndex(0);
    }
    const int code = TISPProgrammer::ClockCode;
    Fast->setChecked(true);
    if (isFlash ? code == 1 : code == 3) {
        Medium->setChecked(true);
    } else if (isFlash ? code == 2 : code == 16) {
        Slow->setChecked(true);
    }
    ProgTime->SetValue(progTime);
}

bool TIspConfigDialog::Execute(int portIndex, int progTime, bool isFlash) {
    Prepare(portIndex, progTime, isFlash);
    if ((Runner ? Runner(*this) : exec()) != QDialog::Accepted) {
        return false;
    }
    TISPProgrammer::ClockCode = ClockCodeChosen(false);
    return true;
}

int TIspConfigDialog::ClockCodeChosen(bool isFlash) const {
    if (Medium->isChecked()) {
        return isFlash ? 1 : 3;
    }
    if (Slow->isChecked()) {
        return isFlash ? 2 : 16;
    }
    return 0;
}

int TIspConfigDialog::SelectedSerialPortIndex() const {
    const int index = PortSelector->currentIndex();
    return index < 0 ? -1
                     : PortIndexFromName(PortSelector->itemData(index).toString().toStdString());
}

int TIspConfigDialog::WriteDelay(int deviceProgTime) const {
    const int value = ProgTime->Value();
    return value != 0 ? value : deviceProgTime;
}

bool ConfigureUsbProgrammer(TSmartSerial& programmer, TIspConfigDialog& dialog,
                            const std::vector<std::pair<std::string, std::string>>& ports,
                            bool showModal) {
    const bool flash = programmer.device && programmer.device->IsFlash;
    dialog.Medium->setEnabled(true);
    dialog.Slow->setEnabled(true);
    dialog.ProgTime->setEnabled(true);
    dialog.ProgTimeLabel->setEnabled(true);
    dialog.ProgTimeLabel->setText(flash ? "Read Page Delay:" : "EEPROM Prog Time:");
    dialog.MediumLabel->setText(flash ? "" : "100 KHz");
    dialog.SlowLabel->setText(flash ? "" : "35KHz");
    for (const auto& [name, path] : ports) {
        dialog.AddPort(name, path);
    }
    if (showModal) {
        if (!dialog.Execute(programmer.portIndex, programmer.eepromProgTime, flash)) {
            return false;
        }
    } else {
        TISPProgrammer::ClockCode = dialog.ClockCodeChosen(false);
    }
    programmer.portIndex = static_cast<std::uint16_t>(dialog.SelectedSerialPortIndex());
    if (dialog.ProgTime->isEnabled()) {
        const int deviceTime = programmer.device ? programmer.device->ProgTime : 0;
        programmer.eepromProgTime = static_cast<std::uint8_t>(dialog.WriteDelay(deviceTime));
    }
    if (flash) {
        TISPProgrammer::ClockCode = dialog.ClockCodeChosen(true);
    }
    programmer.SaveSettings();
    programmer.Disconnect();
    programmer.Connect();
    return true;
}

void ConfigureParallelProgrammer(TSmartParallel& programmer, TIspConfigDialog& dialog,
                                 int parallelPorts, bool showModal) {
    for (int i = 1; i <= parallelPorts; ++i) {
        dialog.PortSelector->addItem("LPT" + QString::number(i));
    }
    if (showModal && !dialog.Execute(programmer.portIndex, programmer.eepromProgTime, false)) {
        throw ESilentAbort("Cancelled");
    }
    programmer.portIndex = static_cast<std::uint16_t>(std::max(dialog.SelectedItemIndex(), 0));
    programmer.eepromProgTime = static_cast<std::uint8_t>(
        dialog.WriteDelay(programmer.device ? programmer.device->ProgTime : 0));
    programmer.SaveSettings();
    programmer.Disconnect();
    programmer.Connect();
}

TPrintStatusD::TPrintStatusD(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Information");
    Text = new QPlainTextEdit(this);
    Text->setReadOnly(true);
    Text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* copy = new QPushButton("Copy to Clipboard", this);
    auto* close = new QPushButton("Close", this);
    connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(Text, 0, 0, 1, 2);
    layout->addWidget(copy, 1, 0);
    layout->addWidget(close, 1, 1);
    resize(480, 360);
}

void TPrintStatusD::SetLines(const std::vector<std::string>& lines) {
    Text->clear();
    for (const std::string& line : lines) {
        Text->appendPlainText(QString::fromStdString(line));
    }
}

void TPrintStatusD::Show(const std::vector<std::string>& lines) {
    SetLines(lines);
    if (Runner) {
        Runner(*this);
    } else {
        exec();
    }
}

void TPrintStatusD::CopyToClipboard() {
    Text->selectAll();
    QApplication::clipboard()->setText(Text->toPlainText());
}

TParallelInfoDialog::TParallelInfoDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("ISP Information");
    Version = new QLabel(this);
    Firmware = new QLabel(this);
    Lines = new QListWidget(this);
    auto* copy = new QPushButton("Copy to Clipboard", this);
    auto* close = new QPushButton("Close", this);
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("ISP Version:", this), 0, 0);
    layout->addWidget(Version, 0, 1);
    layout->addWidget(new QLabel("Firmware Revision:", this), 1, 0);
    layout->addWidget(Firmware, 1, 1);
    layout->addWidget(new QLabel("Additional Information:", this), 2, 0, 1, 2);
    layout->addWidget(Lines, 3, 0, 1, 2);
    layout->addWidget(copy, 4, 0);
    layout->addWidget(close, 4, 1);
}

void TParallelInfoDialog::SetContents(const std::string& softwareVersion,
                                      const std::string& firmware,
                                      const std::vector<std::string>& lines) {
    Version->setText(QString::fromStdString(softwareVersion));
    Firmware->setText(QString::fromStdString(firmware));
    for (const std::string& line : lines) {
        Lines->addItem(QString::fromStdString(line));
    }
}

void TParallelInfoDialog::CopyToClipboard() {
    QStringList text = {"Qorvik ISP Information",
                        "Qorvik ISP Software Revision: " + Version->text(),
                        "Qorvik Firmware Revision: " + Firmware->text(), "Additional Information:"};
    for (int i = 0; i < Lines->count(); ++i) {
        text << Lines->item(i)->text();
    }
    QApplication::clipboard()->setText(text.join('\n'));
}

} // namespace isp
