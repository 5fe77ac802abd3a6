#include "programmer/settings.h"

#include "model/ispdefs.h"
#include "model/isperrors.h"

#include <algorithm>
#include <cctype>

namespace isp {

std::string TVariant::ToText() const {
    switch (kind_) {
    case kBool:
        return number_ ? "True" : "False";
    case kInt:
        return std::to_string(number_);
    case kText:
        break;
    }
    return text_;
}

std::int64_t TVariant::ToInt() const {
    if (kind_ != kText) {
        return number_;
    }
    std::size_t used = 0;
    try {
        const std::int64_t value = std::stoll(text_, &used, 10);
        if (used == text_.size()) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw ESettingConversion("'" + text_ + "' is not a valid integer value");
}

bool TVariant::ToBool() const {
    if (kind_ != kText) {
        return number_ != 0;
    }
    if (SameText(text_, "True")) {
        return true;
    }
    if (SameText(text_, "False")) {
        return false;
    }
    try {
        return ToInt() != 0;
    } catch (const ESettingConversion&) {
        throw ESettingConversion("'" + text_ + "' is not a valid boolean value");
    }
}

TISPSettings::TISPSettings(TSettingsBackend& userStore, TSettingsBackend& files)
    : userStore_(userStore), files_(files) {}

TVariant TISPSettings::ReadSetting(const std::string& section, const std::string& name,
                                   const TVariant& defaultValue) const {
    for (const auto& s : settings_) {
        if (SameText(s->Section, section) && SameText(s->Ident, name)) {
            return s->Value;
        }
    }
    return defaultValue;
}

void TISPSettings::WriteSetting(const std::string& section, const std::string& name,
                                std::uint8_t group, const TVariant& value) {
    for (auto it = settings_.rbegin(); it != settings_.rend(); ++it) {
        if ((*it)->Section == section && (*it)->Ident == name) {
            (*it)->Value = value;
            return;
        }
    }
    settings_.push_back(std::make_unique<TSetting>(TSetting{section, name, group, value}));
}

void TISPSettings::DeleteSection(std::uint8_t group, const std::string& section) {
    settings_.erase(
        std::remove_if(settings_.begin(), settings_.end(),
                       [&](const auto& s) { return s->Section == section && s->Group == group; }),
        settings_.end());
}

void TISPSettings::SetSectionGroup(const std::string& section, std::uint8_t group) {
    for (const auto& s : settings_) {
        if (s->Section == section) {
            s->Group = group;
        }
    }
}

void TISPSettings::ClearGroup(std::uint8_t group) {
    settings_.erase(std::remove_if(settings_.begin(), settings_.end(),
                                   [&](const auto& s) { return s->Group == group; }),
                    settings_.end());
}

void TISPSettings::LoadGroup(const std::string& path, bool fromFile, std::uint8_t group) {
    ClearGroup(group);
    const TSettingsSections sections = (fromFile ? files_ : userStore_).Read(path);
    for (const auto& [section, values] : sections) {
        for (const auto& [name, text] : values) {
            WriteSetting(section, name, group, TVariant(text));
        }
    }
    if (!fromFile && AfterUserStoreLoad) {
        try {
            AfterUserStoreLoad();
        } catch (...) {
            // The latency timer is an optimisation; loading never fails because of it.
        }
    }
}

void TISPSettings::SaveGroup(const std::string& path, bool toFile, std::uint8_t group) {
    TSettingsSections sections;
    for (const auto& s : settings_) {
        if (s->Group != group) {
            continue;
        }
        auto section = std::find_if(sections.begin(), sections.end(),
                                    [&](const auto& entry) { return entry.first == s->Section; });
        if (section == sections.end()) {
            sections.emplace_back(s->Section, std::vector<std::pair<std::string, std::string>>{});
            section = sections.end() - 1;
        }
        section->second.emplace_back(s->Ident, s->Value.ToText());
    }
    (toFile ? files_ : userStore_).Replace(path, sections);
}

std::string GlobalSettingsKey() {
    return std::string(kSettingsBaseKey) + "\\GLOBAL";
}

} // namespace isp
