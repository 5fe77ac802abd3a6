#include "cli/args.h"

namespace isp::cli {

Args::Args(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
           const std::set<std::string>& flagOptions) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.erase(eq);
        }
        if (flagOptions.count(name)) {
            if (inlineValue) {
                throw UsageError("option --" + name + " takes no value");
            }
            flags_.insert(name);
        } else if (valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size()) {
                    throw UsageError("option --" + name + " needs a value");
                }
                inlineValue = words[++i];
            }
            values_[name] = *inlineValue;
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
}

std::optional<std::string> Args::Value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Args::ExpectPositionals(std::size_t min, std::size_t max, const std::string& what) const {
    if (positionals_.size() < min) {
        throw UsageError("missing " + what);
    }
    if (positionals_.size() > max) {
        throw UsageError("unexpected argument '" + positionals_[max] + "'");
    }
}

} // namespace isp::cli
