// Time for the programmer link and the simulated unit. Every wait of the link goes through a
// TClock, so tests run on a virtual clock that advances only when someone waits, and never sleep.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace isp {

class TClock {
public:
    virtual ~TClock() = default;
    // Monotonic time in nanoseconds.
    virtual std::int64_t NowNs() = 0;
    // Waits the given time (a virtual clock just moves on).
    virtual void SleepNs(std::int64_t ns) = 0;
    // Waits until the given time, if it is still ahead.
    void SleepUntilNs(std::int64_t deadline) {
        const std::int64_t now = NowNs();
        if (deadline > now) {
            SleepNs(deadline - now);
        }
    }
    void SleepMs(std::int64_t ms) { SleepNs(ms * 1'000'000); }
};

// Real time: steady clock and real sleeps.
class TSystemClock final : public TClock {
public:
    std::int64_t NowNs() override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void SleepNs(std::int64_t ns) override {
        if (ns > 0) {
            std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
        }
    }
};

// Virtual time: starts at zero and moves only when someone sleeps or sets it.
class TVirtualClock final : public TClock {
public:
    std::int64_t NowNs() override { return now_; }
    void SleepNs(std::int64_t ns) override {
        if (ns > 0) {
            now_ += ns;
        }
    }
    void AdvanceTo(std::int64_t t) {
        if (t > now_) {
            now_ = t;
        }
    }

private:
    std::int64_t now_ = 0;
};

} // namespace isp
