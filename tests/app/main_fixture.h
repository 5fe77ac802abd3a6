// The main window over an in-process simulated programmer unit, with settings in a temporary
// folder and every dialog answered by the test instead of blocking.
#pragma once

#include "app/mainform.h"
#include "programmer/sim_fixture.h"
#include "sim/unit.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace isp::testing {

// The unit in the socket can be swapped for another part; ports opened before keep the old one.
class TSwappableServices final : public TSerialServices {
public:
    explicit TSwappableServices(const std::string& part) { Insert(part); }
    void Insert(const std::string& part, sim::TChipOptions chip = {},
                sim::TUnitConfig config = {}) {
        const TDevice* device = DeviceList().FindByName(part, kUsbProgrammerKind);
        if (!device) {
            throw std::invalid_argument("not a catalogue part: " + part);
        }
        units.push_back(sim::CreateUnit(*device, chip, std::move(config)));
    }
    sim::TProgrammerUnit& Unit() { return *units.back(); }
    std::vector<std::uint8_t>& Chip() { return Unit().Chip().Memory(); }

    std::unique_ptr<TSerialPort> CreatePort() override {
        ++portsCreated;
        return std::make_unique<sim::TSimSerialPort>(Unit(), clock, "/dev/sim");
    }
    std::vector<std::string> SerialDeviceNames() override {
        return present ? std::vector<std::string>{"COM7"} : std::vector<std::string>{};
    }
    std::string DevicePath(const std::string& name) override {
        return present && name == "COM7" ? "/dev/sim" : "";
    }
    TClock& Clock() override { return clock; }
    void Warn(const std::string&) override {}
    void ShowReport(const std::vector<std::string>&) override {}

    TVirtualClock clock;
    std::vector<std::unique_ptr<sim::TProgrammerUnit>> units;
    bool present = true;
    int portsCreated = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setenv("ISP_SETTINGS_DIR", folder.path().toUtf8().constData(), 1);
    }
    void TearDown() override {
        if (window) {
            window->Log().SetBusy(false);
            window->close();
        }
        window.reset();
        unsetenv("ISP_SETTINGS_DIR");
    }

    // The global settings file, as the window keeps it.
    std::filesystem::path GlobalFile() const {
        return std::filesystem::path(folder.path().toStdString()) / "Software" / "velmar" /
               "QorvikISP1" / "GLOBAL.ini";
    }
    // Settings of a station that has been used before: the port chosen (COM7) and a device.
    void StoreEnvironment(const std::string& device, int family) {
        std::filesystem::create_directories(GlobalFile().parent_path());
        std::ofstream(GlobalFile()) << "[QORVIK ISP (COM)]\r\nBASEPORT=6\r\n[ENVIRONMENT]\r\n"
                                    << "LASTHARDWARE=QORVIK ISP (COM)\r\nLASTDEVICETYPE=" << family
                                    << "\r\nLASTDEVICE=" << device << "\r\n";
    }

    // Creates the window with a unit holding part and runs start-up.
    void Start(const std::string& part, std::vector<std::string> arguments = {}) {
        Create(part, std::move(arguments));
        window->InitializeISP();
    }
    // Creates the window without starting up.
    void Create(const std::string& part, std::vector<std::string> arguments = {}) {
        TMainEnvironment env;
        env.SerialServices = [this, part](TMachineSettings&) {
            auto services = std::make_unique<TSwappableServices>(part);
            sim = services.get();
            return services;
        };
        env.Arguments = std::move(arguments);
        env.InstallFolder = folder.path() + "/install";
        env.ExecDialog = [this](QDialog& dialog) {
            dialogs.push_back(dialog.metaObject()->className());
            return answerDialog ? answerDialog(dialog) : int(QDialog::Rejected);
        };
        env.Ask = [this](const QString&, const QString& text) {
            questions.push_back(text.toStdString());
            return answerYes;
        };
        env.Inform = [this](const QString&, const QString& text) {
            messages.push_back(text.toStdString());
        };
        env.OpenDocument = [this](const QString& path) {
            opened.push_back(path.toStdString());
            return openSucceeds;
        };
        env.OpenWebPage = [](const QString&) { return true; };
        env.Beep = [] {};
        env.ShiftHeld = [this] { return shiftHeld; };
        window = std::make_unique<Tmain>(std::move(env));
    }

    const std::vector<std::string>& Lines() { return window->Log().StatusList(); }
    std::string LastLine() { return Lines().empty() ? std::string() : Lines().back(); }
    bool HasLine(const std::string& line) {
        return std::find(Lines().begin(), Lines().end(), line) != Lines().end();
    }
    THexList& Buffer() { return window->Project()->MainBuffer(); }

    QTemporaryDir folder;
    std::unique_ptr<Tmain> window;
    TSwappableServices* sim = nullptr;
    std::function<int(QDialog&)> answerDialog;
    std::vector<std::string> dialogs;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<std::string> opened;
    bool answerYes = true;
    bool openSucceeds = true;
    bool shiftHeld = false;
};

} // namespace isp::testing
