// The memory buffer: one byte value and one status per device address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace isp {

// Flags of a TProgStatus, numbered by their bit in the status byte.
enum TProgFlag : std::uint8_t {
    ps_normal = 0,     // untouched, loaded or edited
    ps_programmed = 1, // declared; nothing assigns it
    ps_verified = 2,   // the device byte matched during a verify
    ps_failed = 3,     // mismatch during a verify, or a load that overran the buffer
    ps_read = 4,       // declared; nothing assigns it
};

// A set of TProgFlag held in one byte (bits 0 to 4). Test membership with Has(), not equality:
// a cell that holds ps_failed is shown as failed whatever else it holds.
class TProgStatus {
public:
    constexpr TProgStatus() = default;
    constexpr TProgStatus(TProgFlag flag) : bits_(static_cast<std::uint8_t>(1u << flag)) {}
    static constexpr TProgStatus FromByte(std::uint8_t bits) {
        TProgStatus s;
        s.bits_ = static_cast<std::uint8_t>(bits & 0x1F);
        return s;
    }

    constexpr bool Has(TProgFlag flag) const { return (bits_ >> flag) & 1u; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint8_t Byte() const { return bits_; }

    constexpr TProgStatus& operator+=(TProgFlag flag) {
        bits_ = static_cast<std::uint8_t>(bits_ | (1u << flag));
        return *this;
    }
    constexpr TProgStatus& operator-=(TProgFlag flag) {
        bits_ = static_cast<std::uint8_t>(bits_ & ~(1u << flag));
        return *this;
    }
    friend constexpr bool operator==(TProgStatus a, TProgStatus b) { return a.bits_ == b.bits_; }
    friend constexpr bool operator!=(TProgStatus a, TProgStatus b) { return a.bits_ != b.bits_; }

private:
    std::uint8_t bits_ = 0;
};

// Image of a device's memory. Checked accesses raise EISPException with the fixed range
// messages; addresses are unsigned, so a negative address converted to u32 is rejected too.
class THexList {
public:
    THexList() = default;

    int Size() const { return static_cast<int>(values_.size()); }
    // Resizes both arrays to n (n >= 0) and clears the buffer.
    void SetSize(int n);

    std::uint8_t GetValue(std::uint32_t address) const;
    void SetValue(std::uint32_t address, std::uint8_t value);
    TProgStatus GetStatus(std::uint32_t address) const;
    void SetStatus(std::uint32_t address, TProgStatus status);

    // Every status becomes [ps_normal] and every value BlankValue; FileName stays.
    void Clear();
    // Every status becomes [ps_failed]; values stay.
    void MarkAllFailed();
    // SetValue(a, value) for a = first..last in ascending order; nothing when last < first. Stops
    // with the range error at the first rejected address, after writing the ones before it.
    void Fill(std::int32_t first, std::int32_t last, std::uint8_t value);

    // Last address of the 16-byte line holding the highest value that differs from BlankValue
    // (never past Size - 1); Size - 1 when every value is blank; -1 for an empty buffer.
    int LastUsedAddress() const;
    // One past the highest value that differs from 0xFF (the fixed value, not BlankValue);
    // 0 when every value is 0xFF.
    int UsedLength() const;

    // Direct access to the value array for bulk loaders, savers, device reads and checksums.
    // The array cannot be resized through these.
    std::uint8_t* Data() { return values_.data(); }
    const std::uint8_t* Data() const { return values_.data(); }

    std::string FileName;           // file last loaded (or written as binary); empty when none
    std::uint8_t BlankValue = 0xFF; // value of an unwritten byte

private:
    std::vector<TProgStatus> statuses_;
    std::vector<std::uint8_t> values_;
};

} // namespace isp
