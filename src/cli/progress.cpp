#include "cli/progress.h"

#include <csignal>
#include <ostream>

namespace isp::cli {

namespace {

volatile std::sig_atomic_t gAbortRequested = 0;

void OnInterrupt(int) {
    gAbortRequested = 1;
}

} // namespace

TProgress::TProgress(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {
    gAbortRequested = 0;
    std::signal(SIGINT, OnInterrupt);
}

TProgress::~TProgress() {
    std::signal(SIGINT, SIG_DFL);
    Done();
}

TProgressHandler TProgress::Handler(const std::string& label) {
    Done();
    label_ = label;
    lastShown_ = -1;
    start_ = std::chrono::steady_clock::now();
    return [this](std::int32_t position, std::int32_t total) { Report(position, total); };
}

double TProgress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void TProgress::Report(std::int32_t position, std::int32_t total) {
    if (gAbortRequested) {
        gAbortRequested = 0;
        throw EAbortOp(msg::OperationAborted);
    }
    if (position < 0 || total <= 0) {
        return; // a keep-alive
    }
    // Operations report (0, total) again when they finish.
    const int percent =
        position == 0 && lastShown_ > 0 ? 100 : static_cast<int>(100LL * position / total);
    if (terminal_) {
        if (percent == lastShown_) {
            return;
        }
        const int filled = percent * 30 / 100;
        err_ << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(30 - filled), '.') << "] " << percent << "% "
             << std::flush;
        open_ = true;
    } else if (percent / 10 != lastShown_ / 10 || lastShown_ < 0) {
        err_ << label_ << ": " << percent / 10 * 10 << "%\n";
    }
    lastShown_ = percent;
}

void TProgress::Done() {
    if (open_) {
        err_ << '\n';
        open_ = false;
    }
}

} // namespace isp::cli
