#include "projects/shorten_path.h"

namespace isp {

std::string ShortenPath(const std::string& path, int maxWidth, const TTextWidth& width) {
    if (width(path) <= maxWidth) {
        return path;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash);
    for (std::size_t keep = folder.size(); keep-- > 0;) {
        const std::string candidate = folder.substr(0, keep) + "..." + name;
        if (width(candidate) <= maxWidth) {
            return candidate;
        }
    }
    for (std::size_t drop = 0; drop < name.size(); ++drop) {
        const std::string candidate = "..." + name.substr(drop);
        if (width(candidate) <= maxWidth) {
            return candidate;
        }
    }
    return "...";
}

} // namespace isp
