// isp-ui-gallery: the widgets with sample contents, for looking at them and for documentation
// screenshots. `isp-ui-gallery --save DIR` writes hexview.png, fuseform.png and
// isp-configuration.png to DIR and exits; without it the three windows stay open.
// `isp-ui-gallery --grab-screen FILE` saves the whole screen (for example an Xvfb display with the
// station's window on it) as a PNG and exits.
#include "ui/fuseform.h"
#include "ui/hexwindow.h"
#include "ui/programmer_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (const auto grabAt = args.indexOf("--grab-screen");
        grabAt >= 0 && grabAt + 1 < args.size()) {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen && screen->grabWindow(0).save(args[grabAt + 1]) ? 0 : 1;
    }
    const int saveAt = static_cast<int>(args.indexOf("--save"));
    const QString saveDir = saveAt >= 0 && saveAt + 1 < args.size() ? args[saveAt + 1] : QString();

    // A 2 MB buffer with some data, a verified first block and two failed bytes.
    isp::THexList buffer;
    buffer.SetSize(2 * 1024 * 1024);
    for (int i = 0; i < 512; ++i) {
        buffer.SetValue(static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(i * 7));
    }
    for (std::uint32_t i = 0; i < 64; ++i) {
        buffer.SetStatus(i, isp::ps_verified);
    }
    buffer.SetStatus(0x13, isp::ps_failed);
    buffer.SetStatus(0x27, isp::ps_failed);
    isp::THexWindow view;
    view.setWindowTitle("EEPROM Memory");
    view.BackColor = QApplication::palette().button().color();
    view.LabelColor = QColor(0x00, 0x00, 0x80);
    view.resize(720, 360);
    view.SetData(&buffer);
    view.show();

    isp::TBaseFuseForm form;
    form.resize(640, 440);
    form.show();

    isp::TIspConfigDialog dialog;
    dialog.AddPort("COM1", "/dev/ttyUSB0");
    dialog.AddPort("COM3", "/tmp/isp-port");
    dialog.Prepare(2, 5, false);
    dialog.show();

    if (!saveDir.isEmpty()) {
        QDir().mkpath(saveDir);
        QTimer::singleShot(500, [&] {
            const bool ok = view.grab().save(saveDir + "/hexview.png") &&
                            form.grab().save(saveDir + "/fuseform.png") &&
                            dialog.grab().save(saveDir + "/isp-configuration.png");
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
