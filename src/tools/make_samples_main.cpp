// isp-make-samples DIR: writes the sample images shipped in the installation folder's
// "samples", one per kind of file, each sized for a catalogue part and starting with a line of
// text that names it. The build runs it; the images are made here, never copied from elsewhere.
#include "fileformats/fileloader.h"
#include "model/device.h"

#include <cstdio>
#include <string>

namespace {

struct TSample {
    const char* file;
    const char* device;
    int format;
    int length; // bytes of content; the rest of the device stays blank
};

// Parts above 64 KB also get the pattern in their last 256 bytes, so that their files need the
// wide address records of their format. (No catalogue part is large enough for S3 records.)
const TSample kSamples[] = {
    {"24c02.hex", "24C02", isp::ffIntel8, 256},
    {"at17lv002-hex32.hex", "AT17LV002(A)", isp::ffIntelHex32, 1024},
    {"25c080.s19", "25C080", isp::ffMotorolaS1, 1024},
    {"at17lv040-s2.s28", "AT17LV040", isp::ffMotorolaS2, 1024},
    {"93c46-extended-tektronix.tek", "93C46", isp::ffExtendedTektronix, 128},
    {"93c66-tektronix.tek", "93C66", isp::ffTektronix, 512},
    {"at17lv512-generic16.gen", "AT17LV512(A)", isp::ffAtmelGeneric16, 2048},
    {"24c64-generic8.gen", "24C64", isp::ffAtmelGeneric8, 2048},
    {"at17lv256.bst", "AT17LV256", isp::ffAtmelBst, 2048},
    {"24c32.bin", "24C32", isp::ffBinary, 4096},
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: isp-make-samples DIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const TSample& sample : kSamples) {
        const isp::TDevice* device =
            isp::DeviceList().FindByName(sample.device, isp::kUsbProgrammerKind);
        if (!device) {
            std::fprintf(stderr, "isp-make-samples: no part %s\n", sample.device);
            return 1;
        }
        isp::THexList buffer;
        buffer.SetSize(device->MemorySize);
        const std::string banner = std::string("Serial EEPROM ISP sample for ") + device->Name +
                                   ", " + isp::TFileLoader::FormatName(sample.format) + "\r\n";
        for (int i = 0; i < sample.length && i < device->MemorySize; ++i) {
            const auto value = i < static_cast<int>(banner.size())
                                   ? static_cast<std::uint8_t>(banner[static_cast<std::size_t>(i)])
                                   : static_cast<std::uint8_t>((i * 7 + 13) & 0xFF);
            buffer.SetValue(static_cast<std::uint32_t>(i), value);
        }
        if (device->MemorySize > 0x10000) {
            for (int i = device->MemorySize - 256; i < device->MemorySize; ++i) {
                buffer.SetValue(static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(i & 0xFF));
            }
        }
        const std::string path = folder + "/" + sample.file;
        std::string error;
        const int result = sample.format == isp::ffBinary
                               ? isp::TFileLoader::SaveBinary(path, buffer, &error)
                               : isp::TFileLoader::Save(path, buffer, sample.format, &error);
        if (result != 0) {
            std::fprintf(stderr, "isp-make-samples: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
