// A small command-line parser: "--name value", "--name=value", flags and positional arguments.
// Usage mistakes are reported as UsageError with a one-line message.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace isp::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // valueOptions take a value; flagOptions do not. Names are given without the leading "--".
    Args(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
         const std::set<std::string>& flagOptions);

    bool Flag(const std::string& name) const { return flags_.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
    const std::vector<std::string>& Positionals() const { return positionals_; }

    // Throws UsageError unless there are between min and max positional arguments.
    void ExpectPositionals(std::size_t min, std::size_t max, const std::string& what) const;

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positionals_;
};

} // namespace isp::cli
