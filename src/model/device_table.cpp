// The device table: one row per catalogue entry, in catalogue order (which decides the order of
// the device lists and the first part of each family). Keep it aligned so it can be read against
// the datasheet summary column by column. kNone marks an AT17 option address the part lacks.
#include "model/device.h"

namespace isp {

namespace {

constexpr std::int32_t kNone = 0;

struct DeviceRow {
    int Number;
    const char* Name;
    std::uint8_t Family;
    std::int32_t MemorySize;
    std::int32_t SecondMemorySize;
    std::int32_t PageSize;
    THardwareSet Hardware;
    THardwareSet OptionHardware;
    std::uint8_t WriteTime;
    std::uint8_t CommandBits;
    bool IsFlash;
    bool HasInternalRC;
    bool HasResetPolarity;
    std::int32_t ResetPolarityAddress;
    std::int32_t InternalRCAddress;
};

// clang-format off
const DeviceRow kDeviceTable[] = {
//  #   Name            Fam Memory  Sec Page Hw    OptHw Time Bits Fl RC RP RstPol addr RC addr
    { 1, "24C00",         0, 16,      0, 1,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 2, "24C01",         0, 128,     0, 4,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 3, "24WC01",        0, 128,     0, 4,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 4, "24C02",         0, 256,     0, 4,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 5, "24WC02",        0, 256,     0, 4,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 6, "24C04",         0, 512,     0, 8,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 7, "24WC04",        0, 512,     0, 8,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 8, "24C08",         0, 1024,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    { 9, "24WC08",        0, 1024,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {10, "24C16",         0, 2048,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {11, "24WC16",        0, 2048,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {12, "24C32",         0, 4096,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {13, "24WC32",        0, 4096,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {14, "24C64",         0, 8192,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {15, "24WC64",        0, 8192,    0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {16, "24C128",        0, 16384,   0, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {17, "24WC128",       0, 16384,   0, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {18, "24C256",        0, 32768,   5, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {19, "24WC256",       0, 32768,   5, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {20, "24C512",        0, 65536,   0, 128, 0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {21, "24C1024",       0, 131072,  0, 128, 0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {22, "25C010",        1, 128,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {23, "25010",         1, 128,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {24, "25010 (AT)",    1, 128,     0, 8,   0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {25, "25C01",         1, 128,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {26, "25C020",        1, 256,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {27, "25020",         1, 256,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {28, "25C02",         1, 256,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {29, "25C040",        1, 512,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {30, "25C04",         1, 512,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {31, "25040",         1, 512,     0, 16,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {32, "25C080",        1, 1024,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {33, "25C08",         1, 1024,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {34, "25C160",        1, 2048,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {35, "25C16",         1, 2048,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {36, "25C320",        1, 4096,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {37, "25C32",         1, 4096,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {38, "25C640",        1, 8192,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {39, "25C64",         1, 8192,    0, 32,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {40, "25C128",        1, 16384,   0, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {41, "25C256",        1, 32768,   0, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {42, "25256",         1, 32768,   0, 64,  0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {43, "25HP256",       1, 32768,   0, 128, 0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {44, "25HP512",       1, 65536,   0, 128, 0x05, 0x04, 5,   0,  0, 0, 0, kNone,    kNone},
    {45, "93C06",         2, 32,      0, 16,  0x05, 0x04, 6,   10, 0, 0, 0, kNone,    kNone},
    {46, "93C46",         2, 128,     0, 16,  0x05, 0x04, 6,   10, 0, 0, 0, kNone,    kNone},
    {47, "93C56",         2, 256,     0, 16,  0x05, 0x04, 4,   12, 0, 0, 0, kNone,    kNone},
    {48, "93C57",         2, 256,     0, 16,  0x05, 0x04, 5,   11, 0, 0, 0, kNone,    kNone},
    {49, "93C66",         2, 512,     0, 16,  0x05, 0x04, 4,   12, 0, 0, 0, kNone,    kNone},
    {50, "93C76",         2, 1024,    0, 32,  0x05, 0x04, 2,   14, 0, 0, 0, kNone,    kNone},
    {51, "93C86",         2, 2048,    0, 32,  0x05, 0x05, 2,   14, 0, 0, 0, kNone,    kNone},
    {52, "AT17LV256",     3, 32768,   0, 64,  0x05, 0x05, 0,   14, 0, 0, 0, kNone,    kNone},
    {53, "AT17LV512(A)",  3, 65536,   0, 128, 0x05, 0x05, 0,   14, 0, 1, 1, 0x20000,  0x380000},
    {54, "AT17LV010(A)",  3, 131072,  0, 128, 0x05, 0x05, 0,   14, 0, 1, 1, 0x20000,  0x380000},
    {55, "AT17LV002(A)",  3, 262144,  0, 256, 0x05, 0x05, 0,   14, 0, 1, 1, 0x400000, 0xE00000},
    {56, "AT17LV040",     3, 524288,  0, 256, 0x05, 0x05, 0,   14, 0, 0, 1, 0x400000, kNone},
    {57, "AT17F040(A)",   3, 524288,  0, 256, 0x05, 0x05, 100, 14, 1, 0, 0, kNone,    kNone},
    {58, "AT17F080(A)",   3, 1048576, 0, 256, 0x05, 0x05, 100, 14, 1, 0, 0, kNone,    kNone},
    {59, "AT17F16(A)",    3, 2097152, 0, 256, 0x05, 0x05, 100, 14, 1, 0, 0, kNone,    kNone},
};
// clang-format on

} // namespace

void TDeviceList::BuildCatalogue() {
    for (const DeviceRow& row : kDeviceTable) {
        TDeviceOptions option;
        option.Hardware = row.OptionHardware;
        option.Timings = TTimings{0, 0, row.WriteTime, row.CommandBits};
        Add(std::make_unique<TDevice>(row.Name, row.Family, row.Hardware, row.MemorySize,
                                      row.SecondMemorySize, row.PageSize,
                                      std::vector<TDeviceOptions>{option}));
        if (row.Family == famAT17) {
            TDevice& device = Last();
            device.IsFlash = row.IsFlash;
            device.HasInternalRC = row.HasInternalRC;
            device.HasResetPolarity = row.HasResetPolarity;
            device.ResetPolarityAddress = row.ResetPolarityAddress;
            device.InternalRCAddress = row.InternalRCAddress;
        }
    }
}

} // namespace isp
