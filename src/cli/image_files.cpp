#include "cli/image_files.h"

#include "cli/cli.h"
#include "fileformats/fileloader.h"
#include "fileformats/textfile.h"

namespace isp::cli {

std::string LoadImageFile(const std::string& path, THexList& buffer) {
    if (!PathExists(path)) {
        throw CommandError(path + ": file not found");
    }
    int format = 0;
    const int result = TFileLoader::LoadTextData(ReadWholeFile(path), buffer, &format);
    if (format > 0) {
        if (result != 0) {
            throw CommandError(path + ": a record lies outside the " +
                               std::to_string(buffer.Size()) + "-byte buffer");
        }
        buffer.FileName = path;
        return TFileLoader::FormatName(format);
    }
    if (TFileLoader::LoadBinary(path, buffer) != 0) {
        throw CommandError(path + ": file larger than the " + std::to_string(buffer.Size()) +
                           "-byte buffer");
    }
    return "a Binary file";
}

std::string SaveImageFile(const std::string& path, THexList& buffer, int format) {
    std::string error;
    const int result = format == ffBinary ? TFileLoader::SaveBinary(path, buffer, &error)
                                          : TFileLoader::Save(path, buffer, format, &error);
    if (result != 0) {
        throw CommandError(error);
    }
    return TFileLoader::FormatName(format);
}

} // namespace isp::cli
