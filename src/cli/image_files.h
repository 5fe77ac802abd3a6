// Loading and saving images the way the window's Load and Save commands do, shared by the
// commands that read and write files.
#pragma once

#include "model/hexlist.h"

#include <string>

namespace isp::cli {

// A recognised text by its records, anything else as a binary image. Returns the name of what
// was loaded; raises CommandError with a one-line reason.
std::string LoadImageFile(const std::string& path, THexList& buffer);

// Writes in the format the Save command picks from the extension (or the given format number).
// Returns the format's name; raises CommandError.
std::string SaveImageFile(const std::string& path, THexList& buffer, int format);

} // namespace isp::cli
