// Serves a simulated unit on a pseudo-terminal, so the app and the command line reach it like a
// USB serial adapter. POSIX only.
#pragma once

#include "sim/unit.h"

#include <csignal>
#include <functional>
#include <string>

namespace isp::sim {

class TPtyHost {
public:
    // Opens a pseudo-terminal in raw mode and keeps its slave side open (without it, reads on
    // the master fail with EIO whenever no client has the port open). Throws std::system_error.
    TPtyHost();
    ~TPtyHost();
    TPtyHost(const TPtyHost&) = delete;
    TPtyHost& operator=(const TPtyHost&) = delete;

    const std::string& Path() const { return path_; }

    // Moves bytes between the terminal and the unit until stop becomes non-zero or the unit's
    // link closes. realtime: reply bytes leave at their time on the real clock (115200 baud
    // pacing, write cycles spent). Otherwise the unit's time runs at least as fast as real time
    // and replies leave as soon as they exist.
    void Serve(TProgrammerUnit& unit, bool realtime, const volatile std::sig_atomic_t& stop);

    // Called from the serving loop after RequestReport() (safe to call from a signal handler).
    std::function<void()> onReport;
    static void RequestReport() { reportRequested_ = 1; }

private:
    void WriteAll(const std::uint8_t* data, std::size_t size);

    static inline volatile std::sig_atomic_t reportRequested_ = 0;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

} // namespace isp::sim
