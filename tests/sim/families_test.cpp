// Every family end to end through the unit: the host's program and read sequences (as the
// programmer link sends them) store the data in the chip and read it back unchanged.
#include "sim_host.h"

namespace isp::sim::testing {
namespace {

// Target preparation: family mode, clock, voltage check, acknowledge poll.
void Prepare(SimHost& host, unsigned mode, unsigned addressByte = 0xA0) {
    host.Run(TBatch().Hex('M', mode).Hex('E', 1).Cmd('p').Hex('N', addressByte));
}

TEST(Families, TwoWire24C02ProgramAndRead) {
    SimHost host("24C02");
    Prepare(host, 0);
    const std::string image = RandomBytes(256, 1);
    host.Run(TBatch().Hex('D', 5).Cmd('%').Cmd('A'));
    for (unsigned address = 0; address < 256; address += 8) {
        // Two pages per batch, 4 replies each: the first batch is the documented example.
        TBatch batch;
        for (unsigned page = address; page < address + 8; page += 4) {
            batch.X().w(0xA0).w(page).W(image.substr(page, 4));
        }
        ASSERT_EQ(batch.commands, 8u);
        host.Run(batch);
    }
    host.Run(TBatch().Cmd('a').Cmd('$'));
    EXPECT_EQ(Bytes(host.Memory()), image);

    host.Run(TBatch().Cmd('A').Cmd('%').X().w(0xA0).w(0x00).X().w(0xA1));
    EXPECT_EQ(host.Data(TBatch().R(256), 256), image);
}

TEST(Families, TwoWire24C16BlockSelectBits) {
    SimHost host("24C16"); // 2048 bytes, page 16: address byte 0xA0 | (A10-A8 << 1)
    Prepare(host, 0);
    host.Run(TBatch().Hex('D', 5));
    host.Run(TBatch().X().w(0xAE).w(0xF0).W(std::string(16, '\x5A')));
    EXPECT_EQ(host.Memory()[0x7F0], 0x5A);
    EXPECT_EQ(host.Memory()[0x0F0], 0xFF);
    host.Memory()[0x700] = 0x42;
    host.Run(TBatch().X().w(0xAE).w(0x00).X().w(0xAF)); // A10-A8 = 7: address 0x700
    EXPECT_EQ(host.Data(TBatch().Cmd('r'), 1), "\x42");
}

TEST(Families, Spi25C040ProgramAndRead) {
    SimHost host("25C040"); // 512 bytes, page 16, A8 in the opcode
    Prepare(host, 1);
    const std::string image = RandomBytes(512, 2);
    host.Run(TBatch().Hex('D', 5).Cmd('%').Cmd('A'));
    for (unsigned address = 0; address < 512; address += 64) {
        TBatch batch; // four pages a batch, 8 replies each
        for (unsigned page = address; page < address + 64; page += 16) {
            batch.X().w(0x06).x();
            batch.X().w(page & 0x100 ? 0x0A : 0x02).w(page & 0xFF).W(image.substr(page, 16)).x();
        }
        ASSERT_EQ(batch.commands, 32u);
        host.Run(batch);
    }
    host.Run(TBatch().Cmd('$').Cmd('a'));
    EXPECT_EQ(Bytes(host.Memory()), image);

    host.Run(TBatch().X().w(0x0B).w(0x00));
    EXPECT_EQ(host.Data(TBatch().R(256), 256), image.substr(256));
    host.Run(TBatch().x());
}

TEST(Families, Microwire93C46X16ProgramAndRead) {
    SimHost host("93C46"); // x16: 9 command bits, address shifted left by 7
    Prepare(host, 2);
    const std::string image = RandomBytes(128, 3);
    host.Run(TBatch().Cmd('%').X().Mw(9, 0x9800).x().Cmd('A'));
    for (unsigned word = 0; word < 64; ++word) {
        TBatch batch;
        batch.X()
            .Mw(9, 0xA000 | (word << 7))
            .w(static_cast<std::uint8_t>(image[2 * word]))
            .w(static_cast<std::uint8_t>(image[2 * word + 1]))
            .x();
        ASSERT_EQ(batch.commands, 5u);
        host.Run(batch);
        if (word < 63) {
            host.Run(TBatch().Cmd('Z'));
        }
    }
    host.Run(TBatch().Cmd('a').Cmd('$'));
    host.clock.SleepNs(10 * kMs); // let the last word finish
    EXPECT_EQ(Bytes(host.Memory()), image);

    host.Run(TBatch().X().Mw(9, 0xC000));
    EXPECT_EQ(host.Data(TBatch().R(128), 128), image);
    host.Run(TBatch().x());
}

TEST(Families, Microwire93C86X8WriteAllAndEraseAll) {
    TChipOptions options;
    options.org16 = false; // x8: 14 command bits, address shifted left by 2
    SimHost host("93C86", options);
    Prepare(host, 2);
    host.Run(TBatch().Cmd('%').X().Mw(14, 0x9800).x().X().Mw(14, 0x8800).w(0x5A).x());
    host.Run(TBatch().Cmd('Z'));
    EXPECT_EQ(Bytes(host.Memory()), std::string(2048, '\x5A'));
    host.Run(TBatch().X().Mw(14, 0x9000).x());
    host.Run(TBatch().Cmd('Z'));
    host.Run(TBatch().X().Mw(14, 0x8000).x().Cmd('$'));
    EXPECT_EQ(Bytes(host.Memory()), std::string(2048, '\xFF'));
}

TEST(Families, At17LvProgramReadAndResetPolarity) {
    SimHost host("AT17LV512(A)"); // 64 KB, page 128, three address bytes
    host.Run(TBatch().Hex('e', 0));
    Prepare(host, 0, 0xA6);
    const std::string image = RandomBytes(1024, 4);
    host.Run(TBatch().Hex('D', 0).Cmd('%').Cmd('A'));
    for (unsigned address = 0; address < image.size(); address += 128) {
        EXPECT_EQ(host.Exchange(std::string("n\xA6", 2), 1), "\r"); // waits out the last page
        host.Run(TBatch()
                     .X()
                     .w(0xA6)
                     .w(address >> 16)
                     .w((address >> 8) & 0xFF)
                     .w(address & 0xFF)
                     .W(image.substr(address, 128)));
    }
    // Reset polarity low: 0xFF four times at 0x20000, three times over.
    for (int i = 0; i < 3; ++i) {
        host.Run(TBatch().X().w(0xA6).w(0x02).w(0x00).w(0x00));
        host.clock.SleepNs(10 * kMs);
        host.Run(TBatch().w(0xFF).w(0xFF).w(0xFF).w(0xFF).x());
    }
    host.Run(TBatch().Cmd('a').Cmd('$'));
    host.clock.SleepNs(10 * kMs);
    EXPECT_EQ(Bytes(host.Memory(), 0, 1024), image);

    host.Run(TBatch().X().w(0xA6).w(0x02).w(0x00).w(0x00).X().w(0xA7));
    EXPECT_EQ(host.Data(TBatch().Cmd('r'), 1), "\xFF");
    host.Run(TBatch().X().w(0xA6).w(0).w(0).w(0).X().w(0xA7));
    EXPECT_EQ(host.Data(TBatch().R(1024), 1024), image);
    host.Run(TBatch().Hex('e', 1));
    EXPECT_EQ(host.Exchange(std::string("n\xA6", 2), 2), "?N"); // out of programming mode
}

TEST(Families, At17FlashEraseProgramAndRead) {
    SimHost host("AT17F040(A)"); // 512 KB flash, page 256, word addresses
    host.Memory()[0x10] = 0x00;
    host.Run(TBatch().Hex('e', 0));
    Prepare(host, 0, 0xA6);
    host.Run(TBatch().Cmd('%').Cmd('A'));

    // Erase: command 0x03, then poll "c" until the part reports 0xFF.
    host.Run(TBatch().X().w(0xA6).w(0x03).w(0x00).x().X().w(0xA7));
    int polls = 0;
    std::string status;
    do {
        host.clock.SleepNs(50 * kMs);
        status = host.Data(TBatch().Cmd('c'), 1);
        ++polls;
    } while (status != "\xFF" && polls < 900);
    EXPECT_EQ(status, "\xFF");
    EXPECT_GT(polls, 100);
    host.Run(TBatch().x());
    EXPECT_EQ(host.Memory()[0x10], 0xFF);

    // Program two pages with "C", then end the stream with one zero byte and a stop.
    const std::string image = RandomBytes(512, 5);
    host.Run(TBatch().X().w(0xA6).w(0x02).w(0x00).w(0x00).w(0x00));
    for (unsigned page = 0; page < 2; ++page) {
        TBatch batch;
        batch.Raw('C', {0x00, 0x01}).Add(image.substr(page * 256, 256));
        EXPECT_EQ(host.Exchange(batch.bytes, 1), "\r");
    }
    host.Run(TBatch().w(0x00).x());
    EXPECT_EQ(Bytes(host.Memory(), 0, 512), image);
    EXPECT_EQ(host.Memory()[512], 0xFF); // the closing zero byte is not programmed

    // Read 256 bytes from byte 256: word address 0x80, a dummy byte, stop, then read.
    host.Run(TBatch().X().w(0xA6).w(0x01).w(0x00).w(0x00).w(0x80).w(0x00).x().X().w(0xA7));
    EXPECT_EQ(host.Data(TBatch().R(256), 256), image.substr(256));
    const std::string status2 = host.Exchange("G", 3);
    EXPECT_EQ(status2, "00\r");
}

} // namespace
} // namespace isp::sim::testing
