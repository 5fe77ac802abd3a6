// Shortening a path to fit a width: characters in the middle give way to "...", the file name is
// kept as long as it fits. The width of a text is measured by the caller (pixels of a font).
#pragma once

#include <functional>
#include <string>

namespace isp {

using TTextWidth = std::function<int(const std::string&)>;

// The path when it fits; else as much of its folder as fits, "...", and the file name (from its
// last '/'); when even that is too wide, "..." and as much of the end of the file name as fits.
std::string ShortenPath(const std::string& path, int maxWidth, const TTextWidth& width);

} // namespace isp
