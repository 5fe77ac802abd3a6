#include "platform/desktop_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace isp {

bool OpenDocument(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool OpenWebPage(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

QString InstallationFolder() {
    const QString fromEnvironment = qEnvironmentVariable("ISP_DATA_DIR");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QDir executable(QCoreApplication::applicationDirPath());
    const QString installed = executable.filePath("../share/serial-eeprom-isp");
    if (QFileInfo(installed).isDir()) {
        return QDir::cleanPath(installed);
    }
    return executable.path();
}

} // namespace isp
