#include "app/command_line.h"

#include <cctype>

namespace isp {

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                              const std::function<void()>& onInvalid) {
    TCommandLine line;
    for (const std::string& typed : arguments) {
        std::string argument = typed;
        for (char& c : argument) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        const char code = argument.size() >= 2 ? argument[1] : '\0';
        const std::string value = argument.size() > 3 ? argument.substr(3) : std::string();
        if (code == 'A') {
            line.AutoProgram = true;
        } else if (code == 'L') {
            line.LoadFile = true;
            line.LoadFileName += value;
            line.LoadPath += typed.size() > 3 ? typed.substr(3) : std::string();
        } else if (code == 'M') {
            line.HardwareOverrideSet = true;
            line.HardwareOverride += value;
        } else {
            ++line.InvalidArguments;
            if (onInvalid) {
                onInvalid();
            }
        }
    }
    return line;
}

} // namespace isp
