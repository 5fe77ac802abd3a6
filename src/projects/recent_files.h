// The recent-files list of the Load command: at most four paths, most recent first, kept in the
// global settings group (section "Main.MRUList", names "File1" to "File4").
#pragma once

#include "programmer/settings.h"

#include <string>
#include <vector>

namespace isp {

class TRecentFiles {
public:
    static constexpr std::size_t kMaximum = 4;
    static constexpr const char* kSection = "Main.MRUList";

    // Puts the path first (moving it up when it is already listed).
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Items() const { return items_; }

    void Load(const TISPSettings& store);
    // Writes the list into the global group (emptied names for unused places).
    void Save(TISPSettings& store) const;

private:
    std::vector<std::string> items_;
};

} // namespace isp
