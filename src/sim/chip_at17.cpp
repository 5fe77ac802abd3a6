#include "sim/chip_at17.h"

#include <algorithm>
#include <cstdio>

namespace isp::sim {

namespace {

std::uint8_t DeviceAddress(bool a2High) {
    return a2High ? 0xAE : 0xA6;
}

} // namespace

// ---- AT17LV ----------------------------------------------------------------------------------

TAT17Chip::TAT17Chip(const TDevice& device, const TChipOptions& options)
    : TTwoWireEeprom(device, options, 0xFF) {
    // Page writes take 5 ms; the programmer polls for the acknowledge before each page.
    if (options_.writeCycleNs < 0) {
        options_.writeCycleNs = 5 * kMs;
    }
}

std::optional<std::uint32_t> TAT17Chip::DecodeDeviceAddress(std::uint8_t deviceByte) const {
    if ((deviceByte & 0xFE) != DeviceAddress(options_.a2High)) {
        return std::nullopt;
    }
    return 0u;
}

bool TAT17Chip::IsResetPolarity(std::uint32_t address) const {
    const auto base = static_cast<std::uint32_t>(device_.ResetPolarityAddress);
    return device_.HasResetPolarity && address >= base && address < base + 4;
}

bool TAT17Chip::IsInternalRc(std::uint32_t address) const {
    return device_.HasInternalRC &&
           address == static_cast<std::uint32_t>(device_.InternalRCAddress);
}

std::uint8_t TAT17Chip::Fetch(std::uint32_t address) const {
    if (IsResetPolarity(address)) {
        return resetPolarity_;
    }
    if (IsInternalRc(address)) {
        return internalRc_;
    }
    return TTwoWireEeprom::Fetch(address);
}

void TAT17Chip::Store(std::uint32_t address, std::uint8_t value) {
    if (IsResetPolarity(address)) {
        resetPolarity_ = value;
        Log(value ? "reset polarity: active low" : "reset polarity: active high");
    } else if (IsInternalRc(address)) {
        internalRc_ = value;
        Log(value ? "internal RC: enabled" : "internal RC: disabled");
    } else {
        TTwoWireEeprom::Store(address, value);
    }
}

std::uint32_t TAT17Chip::NextReadAddress(std::uint32_t address) const {
    if (IsResetPolarity(address) || IsInternalRc(address)) {
        return address + 1;
    }
    return TTwoWireEeprom::NextReadAddress(address);
}

// ---- AT17F -----------------------------------------------------------------------------------

TAT17FChip::TAT17FChip(const TDevice& device, const TChipOptions& options)
    : TSimChip(device, options, 0xFF) {}

std::int64_t TAT17FChip::PageProgramNs() const {
    return options_.writeCycleNs >= 0 ? options_.writeCycleNs : 1 * kMs;
}

std::int64_t TAT17FChip::EraseNs() const {
    // 5 s plus 5 s per megabyte: 7.5 s for the 512 KB part, 15 s for the 2 MB part.
    return 5000 * kMs + static_cast<std::int64_t>(device_.MemorySize) * 5000 * kMs / (1 << 20);
}

void TAT17FChip::Start(std::int64_t /*t*/) {
    page_.clear(); // a repeated start ends a program stream; partial pages are discarded
    state_ = resetHigh_ ? TState::Ignoring : TState::DeviceAddress;
}

void TAT17FChip::Stop(std::int64_t t) {
    if (state_ == TState::EraseArgument && eraseRequested_) {
        std::fill(memory_.begin(), memory_.end(), 0xFF);
        eraseUntil_ = t + EraseNs();
        busyUntil_ = eraseUntil_;
        busyTotal_ += EraseNs();
        Log("chip erase started");
    }
    if (state_ == TState::Programming && !page_.empty()) {
        char text[128];
        std::snprintf(text, sizeof text, "program stream ended; %zu byte(s) of a page dropped",
                      page_.size());
        Log(text);
    }
    eraseRequested_ = false;
    page_.clear();
    state_ = TState::Idle;
}

bool TAT17FChip::WriteByte(std::int64_t t, std::uint8_t value) {
    switch (state_) {
    case TState::DeviceAddress:
        if ((value & 0xFE) != DeviceAddress(options_.a2High)) {
            state_ = TState::Ignoring;
            return false;
        }
        if (value & 1) {
            // During an erase the chip answers reads with its erase status.
            state_ = Erasing(t) || command_ == kErase ? TState::Status : TState::Reading;
            return true;
        }
        if (Busy(t)) {
            state_ = TState::Ignoring; // programming a page or erasing
            return false;
        }
        state_ = TState::Command;
        return true;
    case TState::Command:
        command_ = value;
        addressBytesSeen_ = 0;
        wordAddress_ = 0;
        if (value == kRead || value == kProgram) {
            state_ = TState::Address;
            return true;
        }
        if (value == kErase) {
            state_ = TState::EraseArgument;
            return true;
        }
        state_ = TState::Ignoring;
        return false;
    case TState::Address:
        wordAddress_ = (wordAddress_ << 8) | value;
        if (++addressBytesSeen_ == 3) {
            pointer_ = static_cast<std::uint32_t>((wordAddress_ * 2) % memory_.size());
            state_ = command_ == kRead ? TState::ReadDummy : TState::Programming;
        }
        return true;
    case TState::ReadDummy:
        state_ = TState::Idle; // waits for the stop and the read that follows
        return true;
    case TState::EraseArgument:
        eraseRequested_ = true;
        return true;
    case TState::Programming:
        if (Busy(t)) {
            return false; // the previous page is still being programmed
        }
        page_.push_back(value);
        if (page_.size() == static_cast<std::size_t>(device_.PageSize)) {
            ProgramPage(t);
        }
        return true;
    default:
        return false;
    }
}

void TAT17FChip::ProgramPage(std::int64_t t) {
    // Flash programming only clears bits; an erase sets them again.
    for (std::size_t i = 0; i < page_.size(); ++i) {
        const auto address = static_cast<std::uint32_t>((pointer_ + i) % memory_.size());
        if (!options_.stuckCells.count(address)) {
            memory_[address] &= page_[i];
        }
    }
    char text[128];
    std::snprintf(text, sizeof text, "page programmed at 0x%X", static_cast<unsigned>(pointer_));
    Log(text);
    pointer_ = static_cast<std::uint32_t>((pointer_ + page_.size()) % memory_.size());
    page_.clear();
    BeginWriteCycle(t, PageProgramNs());
}

std::uint8_t TAT17FChip::ReadByte(std::int64_t t, bool ack) {
    std::uint8_t value = 0xFF;
    if (state_ == TState::Status) {
        value = Erasing(t) ? 0x00 : 0xFF;
        if (!Erasing(t)) {
            command_ = 0;
        }
    } else if (state_ == TState::Reading) {
        value = memory_[pointer_];
        pointer_ = static_cast<std::uint32_t>((pointer_ + 1) % memory_.size());
    }
    if (!ack && state_ != TState::Status) {
        state_ = TState::Ignoring;
    }
    return value;
}

} // namespace isp::sim
