#include "model/hexlist.h"

#include "model/isperrors.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace isp {

void THexList::SetSize(int n) {
    if (n < 0) {
        throw std::invalid_argument("THexList::SetSize: negative size");
    }
    statuses_.assign(static_cast<std::size_t>(n), TProgStatus());
    values_.assign(static_cast<std::size_t>(n), 0);
    Clear();
}

std::uint8_t THexList::GetValue(std::uint32_t address) const {
    if (address >= values_.size()) {
        throw EISPException(msg::GetValueOutOfRange(address));
    }
    return values_[address];
}

void THexList::SetValue(std::uint32_t address, std::uint8_t value) {
    if (address >= values_.size()) {
        throw EISPException(msg::SetValueOutOfRange(address));
    }
    values_[address] = value;
}

TProgStatus THexList::GetStatus(std::uint32_t address) const {
    if (address >= statuses_.size()) {
        throw EISPException(msg::GetStatusOutOfRange(address));
    }
    return statuses_[address];
}

void THexList::SetStatus(std::uint32_t address, TProgStatus status) {
    if (address >= statuses_.size()) {
        throw EISPException(msg::SetStatusOutOfRange(address));
    }
    statuses_[address] = status;
}

void THexList::Clear() {
    std::fill(statuses_.begin(), statuses_.end(), TProgStatus(ps_normal));
    std::fill(values_.begin(), values_.end(), BlankValue);
}

void THexList::MarkAllFailed() {
    std::fill(statuses_.begin(), statuses_.end(), TProgStatus(ps_failed));
}

void THexList::Fill(std::int32_t first, std::int32_t last, std::uint8_t value) {
    if (last < first) {
        return;
    }
    // Addresses are unsigned: a negative first address is already out of range.
    const std::int64_t size = Size();
    if (first < 0 || first >= size) {
        throw EISPException(msg::SetValueOutOfRange(static_cast<std::uint32_t>(first)));
    }
    const std::int64_t inRangeLast = std::min<std::int64_t>(last, size - 1);
    std::memset(values_.data() + first, value, static_cast<std::size_t>(inRangeLast - first + 1));
    if (last > inRangeLast) {
        throw EISPException(msg::SetValueOutOfRange(static_cast<std::uint32_t>(inRangeLast + 1)));
    }
}

int THexList::LastUsedAddress() const {
    const int size = Size();
    for (int address = size - 1; address >= 0; --address) {
        if (values_[static_cast<std::size_t>(address)] != BlankValue) {
            // A buffer that is not whole 16-byte lines (the 5-byte second memory) must not send
            // its walkers past its end.
            return std::min(address | 0x0F, size - 1);
        }
    }
    return size - 1;
}

int THexList::UsedLength() const {
    for (int address = Size() - 1; address >= 0; --address) {
        if (values_[static_cast<std::size_t>(address)] != 0xFF) {
            return address + 1;
        }
    }
    return 0;
}

} // namespace isp
