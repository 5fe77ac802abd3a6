// TBaseFuseForm: the device options on the "Extra Features" tab. Its handlers write the
// operator's choices straight into the current programmer; operations read the rest of its
// controls when they run. Which controls a family sees is set by the device switch.
#pragma once

#include "programmer/programmer.h"
#include "ui/hexedit.h"
#include "ui/radiogroup.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace isp {

// The options frame and the panel that owns it, as the catalogue's factory hook knows them.
class TOptionsFrame : public QFrame {
public:
    using QFrame::QFrame;
};

class TOptionsFrameOwner : public QWidget {
public:
    using QWidget::QWidget;
};

class TBaseFuseForm : public TOptionsFrame {
    Q_OBJECT
public:
    explicit TBaseFuseForm(QWidget* parent = nullptr);

    // Not owned; the frame writes into it.
    void SetProgrammer(TISPProgrammer* programmer) { programmer_ = programmer; }

    std::uint8_t ComposeStatusRegister();
    void ShowStatusRegister(std::uint8_t value);
    void Defaults();

    // Runs the buffer's reload after the FPGA family changed (the file commands set it).
    std::function<void()> ReloadFile;

    QGroupBox* Group25C;
    TRadioGroup* WPEN;
    QLabel* Label1;
    TRadioGroup* BP;
    QLabel* Label2;
    QLineEdit* StatusReg;
    QGroupBox* Group93C;
    TRadioGroup* Mode;
    QLabel* Label5;
    THexEdit* WriteAllValue;
    TRadioGroup* ResetPolarity;
    QGroupBox* GroupBox1;
    QLabel* Label3;
    THexEdit* DeviceAddress;
    QPushButton* Button1;
    QGroupBox* GroupBox2;
    QLabel* Label4;
    THexEdit* DevicePageSize;
    QCheckBox* A2;
    QCheckBox* ResetPol;
    TRadioGroup* FpgaFamily;

private:
    TISPProgrammer* programmer_ = nullptr;
};

// Makes every catalogue entry's options frame factory build a TBaseFuseForm.
void InstallOptionsFrameFactory();

} // namespace isp
