// Whole-file reading and writing for the format service, standard library only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace isp {

// A text split into lines. The lines point into text, which lives on the heap, so moving a
// TextLines keeps them valid.
struct TextLines {
    std::unique_ptr<std::string> text;
    std::vector<std::string_view> lines;
};

// Reads single-byte text up to the first NUL and splits it at CR LF, CR or LF. Terminators are
// not part of the lines; a terminator at the very end adds no empty line.
TextLines SplitText(std::string text);

// The whole file as bytes. Raises std::system_error naming the file when it cannot be opened or
// read.
std::string ReadWholeFile(const std::string& fileName);

// True when something exists at the path (a file that exists but cannot be read is still there).
bool PathExists(const std::string& fileName);

// Writes data to a new file in the target's folder and renames it over the target only once it is
// complete, so a failure never leaves a truncated file in the target's place. An existing
// target's permissions are kept, and a symbolic link is written through. Raises std::system_error
// ("Cannot write <file>: <reason>") on failure, after removing the temporary file.
void WriteFileAtomically(const std::string& fileName, std::string_view data);

} // namespace isp
