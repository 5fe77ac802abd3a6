// The programmer's own windows: the options dialog ("ISP Configuration"), the information
// dialog `TPrintStatusD` ("Information") and the parallel information dialog ("ISP
// Information").
#pragma once

#include "programmer/smartserial.h"
#include "ui/hexedit.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <functional>
#include <string>
#include <vector>

namespace isp {

class TIspConfigDialog : public QDialog {
    Q_OBJECT
public:
    explicit TIspConfigDialog(QWidget* parent = nullptr);

    // Adds a port; the item shows the name and, when given, the device path beside it.
    void AddPort(const std::string& comName, const std::string& devicePath = {});
    // Selects the port, the clock button and the write delay (isFlash: an AT17F part).
    void Prepare(int portIndex, int progTime, bool isFlash);
    // Shows the dialog modally: Prepare, then true for OK, when the clock code is also set.
    bool Execute(int portIndex, int progTime, bool isFlash);
    // The clock code the checked button stands for: 0, 3, 16 (AT17F: 0, 1, 2).
    int ClockCodeChosen(bool isFlash) const;
    int SelectedItemIndex() const { return PortSelector->currentIndex(); }
    // The number of the selected COM name minus 1 (-1 when none).
    int SelectedSerialPortIndex() const;
    // The edit's value, or the device's time when it is 0.
    int WriteDelay(int deviceProgTime) const;
    // Runs the dialog modally (default: exec()); a window that must not block replaces it.
    std::function<int(QDialog&)> Runner;

    QComboBox* PortSelector;
    QLabel* ProgTimeLabel;
    THexEdit* ProgTime;
    QRadioButton* Fast;
    QRadioButton* Medium;
    QRadioButton* Slow;
    QLabel* FastLabel;
    QLabel* MediumLabel;
    QLabel* SlowLabel;
};

class TPrintStatusD : public QDialog {
    Q_OBJECT
public:
    explicit TPrintStatusD(QWidget* parent = nullptr);
    // Clears the box and puts the lines in it (Show also runs the dialog).
    void SetLines(const std::vector<std::string>& lines);
    void Show(const std::vector<std::string>& lines);
    void CopyToClipboard();
    // Runs the dialog modally (default: exec()).
    std::function<int(QDialog&)> Runner;

    QPlainTextEdit* Text;
};

class TParallelInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit TParallelInfoDialog(QWidget* parent = nullptr);
    void SetContents(const std::string& softwareVersion, const std::string& firmware,
                     const std::vector<std::string>& lines);
    void CopyToClipboard();

    QLabel* Version;
    QLabel* Firmware;
    QListWidget* Lines;
};

// The USB programmer's ConfigureProgrammer with this dialog: false when cancelled (nothing
// changes); on OK the port, write delay and clock code are taken, the settings saved and the
// programmer reconnected (a failing Connect raises, with the new settings already saved).
bool ConfigureUsbProgrammer(TSmartSerial& programmer, TIspConfigDialog& dialog,
                            const std::vector<std::pair<std::string, std::string>>& ports,
                            bool showModal = true);

// The parallel programmer's ConfigureProgrammer: the ports are LPT1 to LPTn; a cancelled dialog
// raises ESilentAbort "Cancelled".
void ConfigureParallelProgrammer(TSmartParallel& programmer, TIspConfigDialog& dialog,
                                 int parallelPorts, bool showModal = true);

} // namespace isp
