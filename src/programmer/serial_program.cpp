// The USB programmer's write side: programming every family in batched pages, and erasing.
#include "programmer/smartserial.h"

namespace isp {

namespace {

// Queues one command and its bytes, counting the command: each command gets one reply.
class TBatchBuilder {
public:
    explicit TBatchBuilder(TSmartSerial& link) : link_(link) { link_.transferLength = 0; }
    void Command(std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t b : bytes) {
            link_.QueueByte(b);
        }
        ++replies_;
    }
    void Data(std::uint8_t value) { link_.QueueByte(value); }
    // The data of a "W" page: the page's bytes, or for pages below 2 the one byte and a stop.
    void PageData(const THexList& buffer, std::uint32_t address, std::uint32_t page,
                  bool stopAfterSingleByte) {
        if (page >= 2) {
            for (std::uint32_t i = 0; i < page; ++i) {
                Data(buffer.GetValue(address + i));
            }
        } else {
            Data(buffer.GetValue(address));
            if (stopAfterSingleByte) {
                Command({'x'});
            }
        }
    }
    std::int32_t Replies() const { return replies_; }

private:
    TSmartSerial& link_;
    std::int32_t replies_ = 0;
};

} // namespace

std::uint32_t TSmartSerial::CheckedPageSize(std::uint32_t page) const {
    const auto size = static_cast<std::uint32_t>(Device().MemorySize);
    if (page == 0) {
        throw EISPException("Page Size 0 is not allowed - set the page size in Extra Features");
    }
    if (size % page != 0) {
        throw EISPException("Page Size " + std::to_string(page) + " does not divide the " +
                            std::to_string(size) + " bytes of the " + Device().Name +
                            " - set the page size in Extra Features");
    }
    return page;
}

void TSmartSerial::ProgramDevice(THexList& buffer) {
    CheckBuffer(buffer);
    switch (Device().Family) {
    case fam24C:
        ProgramTwoWire(buffer);
        break;
    case fam25C:
        ProgramSpi(buffer);
        break;
    case fam93C:
        ProgramMicrowire(buffer);
        break;
    case famAT17:
        ProgramAt17(buffer);
        break;
    default:
        break; // DataFlash parts have no program sequence
    }
    EndSession();
}

void TSmartSerial::ProgramTwoWire(THexList& buffer) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    const std::uint32_t page = CheckedPageSize(static_cast<std::uint32_t>(d.PageSize));
    EnsureTarget();
    SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    ReportProgress(0, size);
    SendCommandHex('D', eepromProgTime);
    SendCommand('%');
    const int pagesPerBatch = ClockCode <= 8 ? 2 : 1;
    SendCommand('A');
    std::uint8_t blockSelect = 0;
    if (size < 4096) {
        blockSelect = size == 512 ? 0x02 : size == 1024 ? 0x06 : size == 2048 ? 0x0E : 0x00;
    }
    std::uint32_t address = 0;
    while (address <= static_cast<std::uint32_t>(size - 1)) {
        TBatchBuilder batch(*this);
        for (int p = 0; p < pagesPerBatch && address <= static_cast<std::uint32_t>(size - 1); ++p) {
            batch.Command({'X'});
            std::uint8_t addressByte = deviceAddressByte;
            if (size < 4096) {
                addressByte =
                    static_cast<std::uint8_t>((addressByte & ~blockSelect) | ((address >> 8) << 1));
            }
            addressByte |= static_cast<std::uint8_t>(((address >> 16) & 1) << 1);
            deviceAddressByte = addressByte;
            batch.Command({'w', deviceAddressByte});
            if (size >= 4096) {
                batch.Command({'w', static_cast<std::uint8_t>(address >> 8)});
            }
            batch.Command({'w', static_cast<std::uint8_t>(address)});
            batch.Command({'W', static_cast<std::uint8_t>(page)});
            batch.PageData(buffer, address, page, true);
            ReportProgress(static_cast<std::int32_t>(address), size);
            address += page;
        }
        if (ClockCode > 16) {
            services_.Clock().SleepMs(5);
        }
        FlushBatch(batch.Replies());
    }
    SendCommand('a');
    SendCommand('$');
    ReportProgress(0, size);
}

void TSmartSerial::ProgramSpi(THexList& buffer) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    const std::uint32_t page = CheckedPageSize(pageSize);
    EnsureTarget();
    SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    ReportProgress(0, size);
    SendCommandHex('D', eepromProgTime);
    SendCommand('%');
    SendCommand('A');
    const int code = ClockCode;
    const int pagesPerBatch = code <= 3 ? 4 : code <= 16 ? 2 : code <= 32 ? 1 : 2;
    std::uint32_t address = 0;
    while (address <= static_cast<std::uint32_t>(size - 1)) {
        TBatchBuilder batch(*this);
        for (int p = 0; p < pagesPerBatch && address <= static_cast<std::uint32_t>(size - 1); ++p) {
            batch.Command({'X'});
            batch.Command({'w', 0x06});
            batch.Command({'x'});
            batch.Command({'X'});
            batch.Command(
                {'w', static_cast<std::uint8_t>(size == 512 && (address & 0x100) ? 0x0A : 0x02)});
            if (size >= 513) {
                batch.Command({'w', static_cast<std::uint8_t>(address >> 8)});
            }
            batch.Command({'w', static_cast<std::uint8_t>(address)});
            batch.Command({'W', static_cast<std::uint8_t>(page)});
            batch.PageData(buffer, address, page, false);
            batch.Command({'x'});
            ReportProgress(static_cast<std::int32_t>(address), size);
            address += page;
        }
        FlushBatch(batch.Replies());
    }
    SendCommand('$');
    SendCommand('a');
    ReportProgress(0, size);
}

void TSmartSerial::ProgramMicrowire(THexList& buffer) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    const std::uint32_t page = CheckedPageSize(static_cast<std::uint32_t>(d.PageSize));
    EnsureTarget();
    ReportProgress(0, size);
    const bool x16 = progMode == 16;
    const std::uint32_t words = x16 ? (page - 1) / 2 + 1 : page;
    SendCommand('%');
    BusStart();
    WriteBits(mwBitCount, {0x98, 0x00});
    BusStop();
    SendCommand('A');
    std::uint32_t group = 0;
    while (group <= static_cast<std::uint32_t>(size - 1)) {
        const bool lastGroup =
            static_cast<std::int64_t>(group) >= size - 1 - static_cast<std::int64_t>(page);
        for (std::uint32_t i = 0; i < words; ++i) {
            TBatchBuilder batch(*this);
            batch.Command({'X'});
            const std::uint32_t word = x16 ? group / 2 + i : group + i;
            const auto command = static_cast<std::uint16_t>((word << mwShift) | 0xA000);
            batch.Command({'W', mwBitCount, static_cast<std::uint8_t>(command >> 8),
                           static_cast<std::uint8_t>(command)});
            if (x16) {
                batch.Command({'w', buffer.GetValue(group + 2 * i)});
                batch.Command({'w', buffer.GetValue(group + 2 * i + 1)});
            } else {
                batch.Command({'w', buffer.GetValue(group + i)});
            }
            batch.Command({'x'});
            FlushBatch(batch.Replies());
            if (!(lastGroup && i == words - 1)) {
                BusWaitReady();
            }
        }
        ReportProgress(static_cast<std::int32_t>(group), size);
        group += page;
    }
    SendCommand('a');
    SendCommand('$');
    ReportProgress(0, size);
}

void TSmartSerial::ProgramAt17(THexList& buffer) {
    const TDevice& d = Device();
    const std::int32_t size = d.MemorySize;
    const std::uint32_t page = CheckedPageSize(static_cast<std::uint32_t>(d.PageSize));
    EnsureTarget();
    ReportProgress(0, size);
    const std::int32_t end = fullDeviceProgram ? size - 1 : buffer.LastUsedAddress();
    SendCommandHex('D', eepromProgTime);
    SendCommand('%');
    SendCommand('A');
    deviceAddressByte = At17Address();
    if (d.IsFlash) {
        // Flash parts: a program command at address 0, then "C" pages streamed to it, ended by
        // one zero byte and a stop.
        TBatchBuilder header(*this);
        header.Command({'X'});
        header.Command({'w', deviceAddressByte});
        header.Command({'w', 0x02});
        header.Command({'w', 0x00});
        header.Command({'w', 0x00});
        header.Command({'w', 0x00});
        FlushBatch(header.Replies());
        std::uint32_t address = 0;
        while (static_cast<std::int64_t>(address) < end) {
            transferLength = 0;
            QueueByte('C');
            QueueByte(static_cast<std::uint8_t>(page));
            QueueByte(static_cast<std::uint8_t>(page >> 8));
            for (std::uint32_t i = 0; i < page; ++i) {
                QueueByte(buffer.GetValue(address + i));
            }
            Port().WriteBlock(transferBuffer.data(), static_cast<std::size_t>(transferLength));
            transferLength = 0;
            ReadByte(false);
            ReportProgress(static_cast<std::int32_t>(address), size);
            address += page;
        }
        BusWrite(0x00);
        BusStop();
    } else {
        std::uint32_t address = 0;
        while (static_cast<std::int64_t>(address) <= end) {
            if (!AckPoll(false)) {
                throw EISPException(msg::NoDeviceDetected);
            }
            TBatchBuilder batch(*this);
            batch.Command({'X'});
            batch.Command({'w', deviceAddressByte});
            if (size >= 65536) {
                batch.Command({'w', static_cast<std::uint8_t>(address >> 16)});
            }
            batch.Command({'w', static_cast<std::uint8_t>(address >> 8)});
            batch.Command({'w', static_cast<std::uint8_t>(address)});
            batch.Command({'W', static_cast<std::uint8_t>(page)});
            batch.PageData(buffer, address, page, true);
            if (ClockCode > 16) {
                services_.Clock().SleepMs(5);
            }
            ReportProgress(static_cast<std::int32_t>(address), size);
            FlushBatch(batch.Replies());
            address += page;
        }
        if (d.HasResetPolarity) {
            WriteResetPolarity();
        }
    }
    SendCommand('a');
    SendCommand('$');
    ReportProgress(0, size);
}

void TSmartSerial::EraseDevice() {
    const TDevice& d = Device();
    if (d.Family != famAT17) {
        SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    }
    if (d.Family == famAT17 && d.IsFlash) {
        EraseAt17Flash();
        return;
    }
    switch (d.Family) {
    case fam93C:
        EraseMicrowire();
        break;
    case famDataFlash:
        EraseDataFlash();
        break;
    default: {
        THexList blank;
        blank.SetSize(d.MemorySize);
        if (d.Family == famAT17) {
            blank.Fill(0, d.MemorySize - 1, 0x00);
            fullDeviceProgram = true;
        }
        ProgramDevice(blank); // ends with EndSession
        return;
    }
    }
    EndSession();
}

void TSmartSerial::EraseAt17Flash() {
    EnsureTarget();
    SendCommand('%');
    SendCommand('A');
    deviceAddressByte = At17Address();
    BusStart();
    BusWrite(deviceAddressByte);
    BusWrite(0x03);
    BusWrite(0x00);
    BusStop();
    BusStart();
    BusWrite(static_cast<std::uint8_t>(deviceAddressByte | 1));
    ReportProgress(0, 660);
    std::uint8_t status = 0;
    int polls = 0;
    while (status != 0xFF && polls < 900) {
        services_.Clock().SleepMs(50);
        WriteCommandChar('c');
        status = ReadByte(false);
        CheckReply();
        ++polls;
        if (polls < 660) {
            ReportProgress(polls, 660);
        } else if (polls == 660) {
            ReportProgress(0, 240);
        } else {
            ReportProgress(polls - 660, 240);
        }
    }
    if (status != 0xFF) {
        throw EISPException(msg::EraseTimedOut);
    }
    BusStop();
    SendCommand('$');
    SendCommand('a');
    EndSession();
}

void TSmartSerial::EraseMicrowire() {
    // The target is prepared here too: without the family mode and the Microwire geometry the
    // unit would clock the instructions onto another bus and report success.
    EnsureTarget();
    SendCommand('%');
    BusStart();
    WriteBits(mwBitCount, {0x98, 0x00}); // EWEN
    BusStop();
    BusStart();
    WriteBits(mwBitCount, {0x90, 0x00}); // ERAL
    BusStop();
    BusStart();
    WriteBits(mwBitCount, {0x80, 0x00}); // EWDS
    BusStop();
    SendCommand('$');
}

void TSmartSerial::EraseDataFlash() {
    SendCommand('%');
    const std::string& name = Device().Name;
    const int blocks = name == "AT45DB011"   ? 64
                       : name == "AT45DB021" ? 128
                       : name == "AT45DB041" ? 256
                       : name == "AT45DB081" ? 512
                       : name == "AT45DB161" ? 512
                       : name == "AT45DB321" ? 1024
                                             : 0;
    const int step = (name == "AT45DB161" || name == "AT45DB321") ? 32 : 16;
    ReportProgress(0, blocks);
    SendCommand('A');
    for (int k = 0; k < blocks; ++k) {
        const int value = k * step;
        SendCommand('K', {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
        ReportProgress(k + 1, blocks);
    }
    SendCommand('$');
    SendCommand('a');
}

} // namespace isp
