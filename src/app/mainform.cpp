#include "app/mainform.h"

#include "app/status_panel.h"
#include "app/window_services.h"
#include "ui/fuseform.h"
#include "ui/hexwindow.h"
#include "ui/programmer_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace isp {

namespace {

std::uint32_t TickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<std::uint32_t>(clock.elapsed());
}

// A page's layout that lets its contents fill it edge to edge.
QVBoxLayout* FillLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

} // namespace

Tmain::Tmain(TMainEnvironment environment, QWidget* parent)
    : QMainWindow(parent), env_(std::move(environment)), log_(TickCount) {
    if (!env_.ExecDialog) {
        env_.ExecDialog = [](QDialog& dialog) { return dialog.exec(); };
    }
    if (!env_.Ask) {
        env_.Ask = [this](const QString& title, const QString& text) {
            return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No) ==
                   QMessageBox::Yes;
        };
    }
    if (!env_.Inform) {
        env_.Inform = [this](const QString& title, const QString& text) {
            QMessageBox::information(this, title, text);
        };
    }
    if (!env_.Beep) {
        env_.Beep = [] { QApplication::beep(); };
    }
    if (!env_.ShiftHeld) {
        env_.ShiftHeld = [] {
            return QApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
        };
    }
    setWindowTitle("Serial EEPROM ISP");
    setAcceptDrops(true); // a dropped file loads as Load does
    BuildToolbar();
    BuildTabs();
    BuildStatusBar();
    PrintStatusD = new TPrintStatusD(this);
    BuildMenus();
    FormCreate();

    resize(622, 681);
    setMinimumSize(509, 156);
    setMaximumWidth(780);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] { UpdateActions(); });
    idle->start(250);
}

Tmain::~Tmain() {
    if (hourglass_) {
        QApplication::restoreOverrideCursor();
    }
    if (programmer_) {
        programmer_->SetProgressHandler({});
    }
}

void Tmain::BuildToolbar() {
    auto* bar = addToolBar("Device");
    bar->setMovable(false);
    bar->setObjectName("Toolbar");
    bar->addWidget(new QLabel(" Device: ", bar));
    DeviceType = new QComboBox(bar);
    DeviceType->addItems({"24C", "25C", "93C", "AT17"});
    bar->addWidget(DeviceType);
    DeviceSelector = new QComboBox(bar);
    DeviceSelector->setMinimumContentsLength(14);
    DeviceSelector->setToolTip("For A, AA or LC parts, slow down programmer in Options");
    DeviceSelector->setToolTipDuration(5000);
    bar->addWidget(DeviceSelector);
    HardwareLabel = new QLabel(" Programmer: ", bar);
    bar->addWidget(HardwareLabel);
    HardwareSelector = new QComboBox(bar);
    HardwareSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    HardwareLabel->setBuddy(HardwareSelector);
    HardwareSelector->setVisible(false);
    hardwareSelectorAction_ = bar->addWidget(HardwareSelector);
    hardwareSelectorAction_->setVisible(false);
    ResetButton = new QPushButton("&Options", bar);
    bar->addWidget(ResetButton);
    Reset = new QPushButton("Reset", bar);
    bar->addWidget(Reset);

    const auto change = [this] { Guarded([this] { HardwareSelectorChange(); }); };
    connect(DeviceType, qOverload<int>(&QComboBox::activated), this, change);
    connect(DeviceSelector, qOverload<int>(&QComboBox::activated), this, change);
    connect(HardwareSelector, qOverload<int>(&QComboBox::activated), this, change);
    connect(ResetButton, &QPushButton::clicked, this, [this] {
        Guarded([this] {
            if (CanOperate() && programmer_->hasOptions) {
                ProgrammerOptionsExecute();
            }
        });
    });
    connect(Reset, &QPushButton::clicked, this,
            [this] { Guarded([this] { ResetButtonClick(); }); });
}

void Tmain::BuildTabs() {
    Tabs = new QTabWidget(this);
    FlashTab = new QWidget;
    FlashViewer = new THexWindow(FlashTab);
    FillLayout(FlashTab)->addWidget(FlashViewer);
    Tabs->addTab(FlashTab, "EEPROM Memory");

    FuseSheet = new QWidget;
    FusesHolder = new TOptionsFrameOwner(FuseSheet);
    NoOptionsLabel = new QLabel("No options", FusesHolder);
    NoOptionsLabel->setAlignment(Qt::AlignCenter);
    FillLayout(FusesHolder)->addWidget(NoOptionsLabel);
    FillLayout(FuseSheet)->addWidget(FusesHolder);
    Tabs->addTab(FuseSheet, "Extra Features");

    StatusSheet = new QWidget;
    ListBox1 = new QListWidget(StatusSheet);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(12);
    ListBox1->setFont(fixed);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    FillLayout(StatusSheet)->addWidget(ListBox1);
    Tabs->addTab(StatusSheet, "Status");
    setCentralWidget(Tabs);

    connect(Tabs, &QTabWidget::currentChanged, this, [this](int index) {
        Guarded([this, index] {
            if (Tabs->widget(index) == FlashTab) {
                FlashTabShow();
            } else if (Tabs->widget(index) == FuseSheet) {
                FuseSheetShow();
            } else if (Tabs->widget(index) == StatusSheet && ListBox1->count() > 0) {
                ListBox1->setCurrentRow(ListBox1->count() - 1);
            }
            UpdateActions();
        });
    });
}

void Tmain::BuildStatusBar() {
    StatusPanel = new TStatusPanel(statusBar());
    statusBar()->addWidget(StatusPanel);
    SparePanel = new QLabel(statusBar());
    SparePanel->setFixedWidth(8);
    SparePanel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(SparePanel);
    ProgressBar = new QProgressBar(statusBar());
    ProgressBar->setFixedWidth(100);
    ProgressBar->setRange(0, 65535);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(true);
    ProgressBar->setFormat("Ready...");
    ProgressBar->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(ProgressBar);
    statusBar()->setSizeGripEnabled(true);

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (log_.BlinkTick()) {
            RepaintStatusBar();
        }
    });
}

void Tmain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        AppException(std::current_exception());
    }
    UpdateActions();
}

int Tmain::ExecDialog(QDialog& dialog) {
    return env_.ExecDialog(dialog);
}

void Tmain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!initializeQueued_) {
        initializeQueued_ = true; // start-up runs once the window is up and the loop runs
        QMetaObject::invokeMethod(
            this, [this] { InitializeISP(); }, Qt::QueuedConnection);
    }
}

void Tmain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FlashViewer->viewport()->update();
}

void Tmain::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        env_.Inform("Serial EEPROM ISP", "Can't exit while programming operation in progress");
        event->ignore();
        return;
    }
    try {
        SaveEnvironment();
    } catch (const std::exception& e) {
        env_.Inform("Serial EEPROM ISP", QString("Settings not saved: ") + e.what());
    }
    event->accept();
}

} // namespace isp
