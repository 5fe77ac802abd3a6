// Where settings live on this machine: INI-style files (workspaces and the files of older
// installations: plain name=value lines, no escaping) and the per-user store that stands in for
// the registry: one INI-style file per key, one section per subkey, below a settings folder.
#pragma once

#include "programmer/settings.h"

#include <string>

namespace isp {

// Parses and writes INI-style text: "[SECTION]" lines and "name=value" lines (split at the first
// '='; spaces around names and values are dropped; other lines are ignored). Written with CR LF.
TSettingsSections ParseIni(const std::string& text);
std::string FormatIni(const TSettingsSections& sections);

// path is the INI file itself.
class TIniFileBackend final : public TSettingsBackend {
public:
    TSettingsSections Read(const std::string& path) override;
    void Replace(const std::string& path, const TSettingsSections& sections) override;
};

// path is a key such as "Software\velmar\QorvikISP1\GLOBAL", kept in <root>/Software/velmar/
// QorvikISP1/GLOBAL.ini.
class TUserStoreBackend final : public TSettingsBackend {
public:
    explicit TUserStoreBackend(std::string root);
    TSettingsSections Read(const std::string& path) override;
    void Replace(const std::string& path, const TSettingsSections& sections) override;
    std::string FileFor(const std::string& key) const;
    const std::string& Root() const { return root_; }

private:
    std::string root_;
};

// The settings folder: $ISP_SETTINGS_DIR when set (tests and demos), else
// $XDG_CONFIG_HOME/serial-eeprom-isp, else ~/.config/serial-eeprom-isp.
std::string SettingsFolder();

} // namespace isp
