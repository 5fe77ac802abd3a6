// The unit's framing: replies, batches, error codes, target checks, faults and link timing.
#include "sim_host.h"

namespace isp::sim::testing {
namespace {

TUnitConfig WithFault(const std::string& spec) {
    TUnitConfig config;
    AddFault(config.faults, spec);
    return config;
}

TEST(Unit, WakeUpIdentityAndVersions) {
    SimHost host("24C02");
    EXPECT_EQ(host.Exchange("*", 1), "\r");
    EXPECT_EQ(host.Exchange("S", 10), "EEPROMISP\r");
    EXPECT_EQ(host.Exchange("V", 5), "SIM1\r");
    EXPECT_EQ(host.Exchange("v", 5), "1.00\r");
    // The connect exchange in one go: E 01, U.
    EXPECT_EQ(host.Exchange("E01U", 2), "\r\r");
    EXPECT_EQ(host.unit.ClockCode(), 1);
}

TEST(Unit, BatchesAreAnsweredOneBytePerCommand) {
    SimHost host("24C02");
    TBatch batch;
    batch.Hex('M', 0)
        .Hex('E', 3)
        .Hex('D', 5)
        .Cmd('%')
        .Cmd('A')
        .X()
        .w(0xA0)
        .w(0x00)
        .x()
        .Cmd('a')
        .Cmd('$')
        .Cmd('U');
    host.Run(batch);
    EXPECT_EQ(host.unit.WriteDelayMs(), 5);
    EXPECT_EQ(host.unit.Stats().commands, 12);
}

TEST(Unit, ErrorCodes) {
    SimHost host("93C46");
    const struct {
        std::string bytes;
        std::string reply;
    } cases[] = {
        {"E0G", "?#"},                               // not a hex number
        {"M03", "?#"},                               // no such family mode
        {"Q", "?!"},                                 // no such command
        {"Z", "?M"},                                 // ready wait outside Microwire mode
        {"M02", "\r"},                               // Microwire from here on
        {std::string("R\x02\x00", 3), "\xFF\xFF?m"}, // bulk read without a READ command
        {std::string("R\x11\x27", 3), "?#"},         // 10001 bytes: more than a transfer
        {std::string("W\x11\x00\x00", 4), "?#"},     // 17 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(host.Exchange(c.bytes, c.reply.size()), c.reply) << c.bytes;
    }
}

TEST(Unit, TargetVoltageAndAcknowledgePolls) {
    {
        SimHost host("24C02");
        EXPECT_EQ(host.Exchange("M00pNA0", 3), "\r\r\r");
        EXPECT_EQ(host.Exchange(std::string("n\xA0", 2), 1), "\r");
        EXPECT_EQ(host.Exchange("NA2", 2), "?N");      // nobody at bus number 1
        EXPECT_EQ(host.Exchange("M01NA0", 3), "\r?N"); // SPI mode: the 24C is not on that bus
    }
    {
        SimHost host("24C02", {}, WithFault("no-voltage"));
        EXPECT_EQ(host.Exchange("p", 2), "?p");
        EXPECT_EQ(host.Exchange("NA0", 2), "?N");
    }
    {
        SimHost host("25C040", {}, WithFault("no-chip"));
        EXPECT_EQ(host.Exchange("p", 1), "\r");
        EXPECT_EQ(host.Exchange("M01NA0", 3), "\r?N");
    }
    for (const char* part : {"25C040", "93C86"}) {
        SimHost host(part);
        const std::string mode = host.unit.Chip().Bus() == TBus::Spi ? "M01" : "M02";
        EXPECT_EQ(host.Exchange(mode + "NA0", 2), "\r\r") << part;
    }
}

TEST(Unit, AcknowledgePollWaitsOutAWriteCycle) {
    SimHost host("AT17LV512(A)"); // 5 ms page cycle
    host.Run(TBatch().Hex('M', 0).Hex('e', 0).X().w(0xA6).w(0).w(0).w(0).W("\x12"));
    const std::int64_t before = host.clock.NowNs();
    EXPECT_EQ(host.Exchange(std::string("n\xA6", 2), 1), "\r");
    EXPECT_GE(host.clock.NowNs() - before, 4 * kMs); // the unit polled through the cycle
}

TEST(Unit, Faults) {
    {
        SimHost host("24C02", {}, WithFault("identity=EEPROMISQ"));
        EXPECT_EQ(host.Exchange("S", 10), "EEPROMISQ\r");
    }
    {
        SimHost host("24C02", {}, WithFault("error=2:T"));
        EXPECT_EQ(host.Exchange("UUU", 4), "\r?T\r");
    }
    {
        SimHost host("24C02", {}, WithFault("drop=1"));
        EXPECT_EQ(host.Exchange("S", 10), "EPROMISP\r"); // one byte short: a time-out
        EXPECT_EQ(host.Exchange("*", 1), "\r");
    }
    {
        SimHost host("24C02", {}, WithFault("corrupt=10"));
        EXPECT_EQ(host.Exchange("S", 10), "EEPROMISP\x0C");
    }
    {
        SimHost host("24C02", {}, WithFault("mute-after=1"));
        EXPECT_EQ(host.Exchange("*", 1), "\r");
        EXPECT_EQ(host.Exchange("S", 10), "");
    }
    {
        SimHost host("24C02", {}, WithFault("close-after=2"));
        EXPECT_EQ(host.Exchange("**", 2), "\r\r");
        EXPECT_THROW(host.Exchange("*", 1), ESerialPort);
        EXPECT_FALSE(host.port.Open("SIM"));
    }
    TFaults faults;
    EXPECT_THROW(AddFault(faults, "gremlins"), EFaultSpec);
    EXPECT_THROW(AddFault(faults, "error=3"), EFaultSpec);
    EXPECT_THROW(AddFault(faults, "drop=x"), EFaultSpec);
    AddFault(faults, "stuck=0x10,17");
    EXPECT_EQ(faults.stuckCells, (std::set<std::uint32_t>{16, 17}));
}

TEST(Unit, LinkTimeAt115200Baud) {
    SimHost host("24C02");
    const std::int64_t byteNs = host.unit.Config().byteNs;
    EXPECT_EQ(host.Exchange("S", 10), "EEPROMISP\r");
    // One byte out, then ten back, each a full byte time on the line.
    EXPECT_EQ(host.clock.NowNs(), 11 * byteNs);
    const TUnitStats stats = host.unit.Stats();
    EXPECT_EQ(stats.bytesFromHost, 1);
    EXPECT_EQ(stats.bytesToHost, 10);
    EXPECT_EQ(stats.linkNs, 11 * byteNs);

    // A block write completes when its last byte has gone out.
    const std::int64_t start = host.clock.NowNs();
    const std::string batch(100, 'U');
    host.port.WriteBlock(reinterpret_cast<const std::uint8_t*>(batch.data()), batch.size());
    EXPECT_EQ(host.clock.NowNs() - start, 100 * byteNs);
    EXPECT_EQ(host.port.UnsentCount(), 0u);
}

TEST(Unit, PurgesDropWaitingRepliesAndUnsentBytes) {
    SimHost host("24C02");
    host.port.WriteByte('*');
    host.port.WaitForReceived(1, kMs);
    host.port.PurgeReceive();
    EXPECT_EQ(host.port.ReceivedCount(), 0u);
    const std::string many(50, '*');
    host.port.WriteByte('*');
    for (char c : many) {
        host.port.WriteByte(static_cast<std::uint8_t>(c));
    }
    EXPECT_GT(host.port.UnsentCount(), 0u);
    host.port.PurgeTransmit();
    EXPECT_EQ(host.port.UnsentCount(), 0u);
    EXPECT_LT(host.port.WaitForReceived(51, 100 * kMs), 51u);
}

TEST(Unit, WriteDelayShorterThanTheChipCycleLosesPages) {
    TUnitConfig config = WithFault("write-cycle=10"); // the part needs 10 ms, not 5
    SimHost host("24C02", {}, config);
    const auto program = [&host](unsigned delayMs) {
        TBatch batch;
        batch.Hex('M', 0).Hex('D', delayMs);
        for (unsigned page = 0; page < 2; ++page) {
            batch.X().w(0xA0).w(page * 4).W("\x01\x02\x03\x04");
        }
        host.Run(batch);
        host.clock.SleepNs(20 * kMs);
    };
    program(5);
    EXPECT_EQ(host.Memory()[0], 0x01);
    EXPECT_EQ(host.Memory()[4], 0xFF); // the second page went while the part was busy
    program(10);
    EXPECT_EQ(host.Memory()[4], 0x01);
}

} // namespace
} // namespace isp::sim::testing
