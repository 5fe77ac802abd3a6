// Progress for long programmer operations: a bar on a terminal, plain lines otherwise, and
// Ctrl+C turned into an abort at the next progress report.
#pragma once

#include "programmer/programmer.h"

#include <chrono>
#include <iosfwd>
#include <string>

namespace isp::cli {

class TProgress {
public:
    TProgress(std::ostream& err, bool terminal);
    ~TProgress();

    // The handler to give the programmer for one operation.
    TProgressHandler Handler(const std::string& label);
    // Ends the current line.
    void Done();
    // Seconds since the last Handler() call.
    double Seconds() const;

private:
    void Report(std::int32_t position, std::int32_t total);

    std::ostream& err_;
    bool terminal_;
    std::string label_;
    int lastShown_ = -1;
    bool open_ = false;
    std::chrono::steady_clock::time_point start_;
};

} // namespace isp::cli
