// serial-eeprom-isp: the programming station's window.
#include "app/mainform.h"
#include "platform/desktop_services.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QProxyStyle>
#include <cstdio>
#include <cstdlib>

namespace {

// Tooltips appear after a second, also when moving from one control to the next.
class TStationStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ToolTip_WakeUpDelay || hint == SH_ToolTip_FallAsleepDelay) {
            return 1000;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

bool HaveDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    if (!HaveDisplay()) {
        std::fprintf(stderr, "serial-eeprom-isp: no display to open the window on (set DISPLAY, "
                             "or use the eeprom-isp command line)\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Serial EEPROM ISP");
    QApplication::setStyle(new TStationStyle);

    isp::TSingleInstance instance(isp::InstanceName(QCoreApplication::applicationFilePath()),
                                  QDir::tempPath());
    if (!instance.Acquire()) {
        return 0; // the running copy has been brought to the front
    }

    isp::TMainEnvironment environment;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        environment.Arguments.push_back(arguments[i].toStdString());
    }
    environment.InstallFolder = isp::InstallationFolder();
    environment.OpenDocument = [](const QString& path) { return isp::OpenDocument(path); };
    environment.OpenWebPage = [](const QString& url) { return isp::OpenWebPage(url); };

    isp::Tmain window(std::move(environment));
    instance.OnActivate = [&window] {
        if (window.isMinimized()) {
            window.showNormal();
        }
        window.raise();
        window.activateWindow();
    };
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    return QApplication::exec();
}
