// The settings store: named settings as (section, name) pairs with a value and a group number,
// loaded and saved one group at a time from the per-user store (group 1, the global settings) or
// from INI-style files (group 0, workspaces).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace isp {

// A value that does not convert to the type its reader needs.
class ESettingConversion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A setting's value: text after loading, or the typed value last written.
class TVariant {
public:
    TVariant() = default;
    TVariant(const char* text) : kind_(kText), text_(text) {}
    TVariant(std::string text) : kind_(kText), text_(std::move(text)) {}
    TVariant(bool value) : kind_(kBool), number_(value ? 1 : 0) {}
    TVariant(int value) : kind_(kInt), number_(value) {}
    TVariant(unsigned value) : kind_(kInt), number_(value) {}
    TVariant(std::int64_t value) : kind_(kInt), number_(value) {}

    bool IsText() const { return kind_ == kText; }
    // As stored text: integers in decimal, booleans "True"/"False".
    std::string ToText() const;
    // Raise ESettingConversion when the text is not of the type.
    std::int64_t ToInt() const;
    bool ToBool() const; // "True"/"False" (any case) or a number

private:
    enum TKind { kText, kInt, kBool };
    TKind kind_ = kText;
    std::string text_;
    std::int64_t number_ = 0;
};

struct TSetting {
    std::string Section;
    std::string Ident;
    std::uint8_t Group = 0;
    TVariant Value;
};

// Sections in order, each with its name=value lines in order.
using TSettingsSections =
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;

// Where a group lives: the per-user store (keys with one section per subkey) or an INI file.
class TSettingsBackend {
public:
    virtual ~TSettingsBackend() = default;
    // Everything below path, in stored order; nothing when there is nothing there yet.
    virtual TSettingsSections Read(const std::string& path) = 0;
    // Replaces everything below path. Must not leave a half-written store behind.
    virtual void Replace(const std::string& path, const TSettingsSections& sections) = 0;
};

class TISPSettings {
public:
    // userStore stands for the registry, files for INI-style files; neither is owned.
    TISPSettings(TSettingsBackend& userStore, TSettingsBackend& files);

    // The first setting whose section and name match ignoring letter case, or the default.
    TVariant ReadSetting(const std::string& section, const std::string& name,
                         const TVariant& defaultValue) const;
    // Replaces the last exact (case-sensitive) match, keeping its group; appends otherwise.
    void WriteSetting(const std::string& section, const std::string& name, std::uint8_t group,
                      const TVariant& value);
    void DeleteSection(std::uint8_t group, const std::string& section);
    void SetSectionGroup(const std::string& section, std::uint8_t group);
    void ClearGroup(std::uint8_t group);
    void LoadGroup(const std::string& path, bool fromFile, std::uint8_t group);
    void SaveGroup(const std::string& path, bool toFile, std::uint8_t group);

    const std::vector<std::unique_ptr<TSetting>>& Settings() const { return settings_; }

    // Runs after every load from the user store: the USB adapter's latency timer adjustment.
    // Whatever it raises is swallowed.
    std::function<void()> AfterUserStoreLoad;

private:
    TSettingsBackend& userStore_;
    TSettingsBackend& files_;
    std::vector<std::unique_ptr<TSetting>> settings_;
};

// Key of the global group in the per-user store.
std::string GlobalSettingsKey();

} // namespace isp
