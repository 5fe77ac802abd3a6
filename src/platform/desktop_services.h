// What the desktop does for the station: open a document or web page with its default handler,
// and find the installation folder that holds the guides, samples and read-me.
#pragma once

#include <QString>

namespace isp {

// Opens a local file with the desktop's default viewer; false when it is missing or nothing
// could open it.
bool OpenDocument(const QString& path);
// Opens a web page in the desktop's browser; false when no browser could be started.
bool OpenWebPage(const QString& url);

// The folder with the station's own files: $ISP_DATA_DIR when set, else
// <executable folder>/../share/serial-eeprom-isp when it exists (an installed copy), else the
// executable's own folder (a build tree, where the files are copied beside the executable).
QString InstallationFolder();

} // namespace isp
