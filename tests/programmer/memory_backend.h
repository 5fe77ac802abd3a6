// Settings kept in memory, for tests of the store and of the programmer's settings.
#pragma once

#include "programmer/settings.h"

#include <map>

namespace isp::testing {

class TMemoryBackend final : public TSettingsBackend {
public:
    TSettingsSections Read(const std::string& path) override { return store[path]; }
    void Replace(const std::string& path, const TSettingsSections& sections) override {
        store[path] = sections;
    }
    std::map<std::string, TSettingsSections> store;
};

} // namespace isp::testing
