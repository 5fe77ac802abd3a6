// The USB programmer's read side: block reads per family, whole-device read and verify.
#include "model/ispdefs.h"
#include "programmer/smartserial.h"

#include <cstdio>
#include <cstring>

namespace isp {

void TSmartSerial::CheckBuffer(const THexList& buffer) const {
    if (buffer.Size() < Device().MemorySize) {
        throw EISPException("The buffer is smaller than the device");
    }
}

void TSmartSerial::ReadBlock(std::uint8_t* destination, char /*command*/, std::uint32_t address,
                             std::int32_t count) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    const auto store = [&](const TBytes& data) {
        std::memcpy(destination + address, data.data(), data.size());
    };
    switch (d.Family) {
    case fam24C:
    case famAT17: {
        transferLength = 0;
        std::int32_t replies = 0;
        const auto queue = [&](std::initializer_list<std::uint8_t> bytes) {
            for (std::uint8_t b : bytes) {
                QueueByte(b);
            }
            ++replies;
        };
        queue({'X'});
        if (d.Family == famAT17) {
            deviceAddressByte = At17Address();
        } else {
            if (size < 4096) {
                deviceAddressByte |= static_cast<std::uint8_t>(((address >> 8) & 0x07) << 1);
            }
            deviceAddressByte |= static_cast<std::uint8_t>(((address >> 16) & 1) << 1);
        }
        queue({'w', deviceAddressByte});
        std::uint32_t a = address;
        if (d.Family == famAT17) {
            if (d.IsFlash) {
                queue({'w', 0x01});
                a /= 2;
            }
            if (size >= 65536) {
                queue({'w', static_cast<std::uint8_t>(a >> 16)});
            }
        }
        if (size >= 4096) {
            queue({'w', static_cast<std::uint8_t>(a >> 8)});
        }
        queue({'w', static_cast<std::uint8_t>(a)});
        if (d.IsFlash) {
            queue({'w', 0x00});
            queue({'x'});
        }
        queue({'X'});
        queue({'w', static_cast<std::uint8_t>(deviceAddressByte | 1)});
        FlushBatch(replies);
        if (count <= 1) {
            destination[address] = BusRead();
        } else {
            store(ReadBytes(static_cast<std::uint16_t>(count)));
        }
        if (d.IsFlash) {
            services_.Clock().SleepMs(eepromProgTime); // the read page delay
        }
        break;
    }
    case fam25C:
        BusStart();
        BusWrite(size == 512 && (address & 0x100) ? 0x0B : 0x03);
        if (size > 512) {
            BusWrite(static_cast<std::uint8_t>(address >> 8));
        }
        BusWrite(static_cast<std::uint8_t>(address));
        store(ReadBytes(static_cast<std::uint16_t>(count)));
        BusStop();
        break;
    case fam93C: {
        BusStart();
        const std::uint32_t word = progMode == 16 ? address / 2 : address;
        const auto command = static_cast<std::uint16_t>((word << mwShift) | 0xC000);
        WriteBits(mwBitCount,
                  {static_cast<std::uint8_t>(command >> 8), static_cast<std::uint8_t>(command)});
        store(ReadBytes(static_cast<std::uint16_t>(count)));
        BusStop();
        break;
    }
    case famDataFlash:
        SendCommandUnchecked(
            'I', {static_cast<std::uint8_t>(address >> 16), static_cast<std::uint8_t>(address >> 8),
                  static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(count >> 8),
                  static_cast<std::uint8_t>(count)});
        for (std::int32_t i = 0; i < count; ++i) {
            destination[address + static_cast<std::uint32_t>(i)] = ReadByte(false);
        }
        CheckReply();
        break;
    default:
        throw EISPException("Unknown device family");
    }
}

void TSmartSerial::ReadDevice(THexList& buffer) {
    CheckBuffer(buffer);
    EnsureTarget();
    const TDevice& d = Device();
    if (d.Family != famAT17) {
        SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    }
    const std::int32_t size = d.MemorySize;
    ReportProgress(0, size);
    const std::int32_t block = std::min(d.Family == fam93C ? size : 8192, size);
    SendCommand('A');
    SendCommand('%');
    std::int32_t address = 0;
    do {
        ReportProgress(address, size);
        ReadBlock(buffer.Data(), 'R', static_cast<std::uint32_t>(address), block);
        address += block;
    } while (address <= size - 1);
    SendCommand('$');
    SendCommand('a');
    ReportProgress(0, size);
    EndSession();
}

void TSmartSerial::LogVerifyLine(const std::string& line) {
    if (!verifyLog) {
        return;
    }
    try {
        verifyLog(line);
    } catch (...) {
        if (verifyLogClear) {
            verifyLogClear();
        }
    }
}

void TSmartSerial::VerifyDevice(THexList& buffer) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    bool closed = false;
    const auto close = [&] {
        closed = true;
        ReportProgress(0, size);
        EndSession();
    };
    try {
        CheckBuffer(buffer);
        EnsureTarget();
        std::int32_t block = std::min(d.Family == fam93C ? size : 8192, size);
        std::int32_t total = size;
        std::int32_t fullBlocks = 0;
        std::int32_t remainder = 0;
        if (d.Family == famAT17) {
            total = buffer.LastUsedAddress() + 1;
            if (total > block) {
                fullBlocks = total / block;
                remainder = total % block;
            } else {
                fullBlocks = 1;
                block = total;
            }
        } else {
            SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
        }
        ReportProgress(0, size);
        std::vector<std::uint8_t> readBack(static_cast<std::size_t>(size), 0);
        SendCommand('%');
        SendCommand('A');
        std::int32_t address = 0;
        std::int32_t blockNumber = 1;
        bool failed = false;
        long failCount = 0;
        bool rechecked = false;
        bool retryUsed = false;
        while (address <= total - 1) {
            ReportProgress(address, size);
            if (d.Family == famAT17) {
                if (blockNumber > fullBlocks) {
                    block = remainder;
                }
                ++blockNumber;
            }
            ReadBlock(readBack.data(), 'R', static_cast<std::uint32_t>(address), block);
            int logged = 0;
            for (std::int32_t a = address; a < address + block; ++a) {
                const auto at = static_cast<std::uint32_t>(a);
                const std::uint8_t expected = buffer.GetValue(at);
                const std::uint8_t actual = readBack[at];
                if (expected == actual) {
                    buffer.SetStatus(at, ps_verified);
                    continue;
                }
                if (logged < 2) {
                    if (!rechecked) {
                        LogVerifyLine("Verify Failed at " + HexDigits(at, 4) + "h: Read " +
                                      HexDigits(actual, 2) + "h - Should have been " +
                                      HexDigits(expected, 2) + "h");
                    } else if (logged == 0) {
                        LogVerifyLine("Rechecked Page");
                    }
                    ++logged;
                }
                buffer.SetStatus(at, ps_failed);
                failed = true;
                ++failCount;
            }
            address += block;
            if (d.IsFlash && failed && !retryUsed) {
                address -= block;
                --blockNumber;
                failed = false;
                retryUsed = true;
                rechecked = true;
            } else {
                rechecked = false;
            }
        }
        SendCommand('$');
        SendCommand('a');
        if (failed) {
            if (d.Family == fam25C) {
                throw EVerifyError(msg::VerifyBlockProtection);
            }
            throw EVerifyError(msg::VerifyFailedBytes(failCount));
        }
        close();
    } catch (...) {
        if (!closed) {
            try {
                close();
            } catch (...) {
                // The first failure is the one to report.
            }
        }
        throw;
    }
}

} // namespace isp
