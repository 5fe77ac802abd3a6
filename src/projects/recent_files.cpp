#include "projects/recent_files.h"

#include <algorithm>

namespace isp {

void TRecentFiles::Add(const std::string& path) {
    Remove(path);
    items_.insert(items_.begin(), path);
    if (items_.size() > kMaximum) {
        items_.resize(kMaximum);
    }
}

void TRecentFiles::Remove(const std::string& path) {
    items_.erase(std::remove(items_.begin(), items_.end(), path), items_.end());
}

void TRecentFiles::Load(const TISPSettings& store) {
    items_.clear();
    for (std::size_t i = 1; i <= kMaximum; ++i) {
        const std::string path =
            store.ReadSetting(kSection, "File" + std::to_string(i), "").ToText();
        if (!path.empty() && std::find(items_.begin(), items_.end(), path) == items_.end()) {
            items_.push_back(path);
        }
    }
}

void TRecentFiles::Save(TISPSettings& store) const {
    for (std::size_t i = 1; i <= kMaximum; ++i) {
        store.WriteSetting(kSection, "File" + std::to_string(i), 1,
                           i <= items_.size() ? items_[i - 1] : std::string());
    }
}

} // namespace isp
