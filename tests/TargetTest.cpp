// SPDX-License-Identifier: MIT
// A map's registers on the chip: which a read may touch, the names the
// command line takes, and the requests reads and writes make, against a
// scripted GDB server.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/ValuesInput.h"
#include "defs/DefinitionsLoader.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "remote/GdbClient.h"
#include "target/TargetTransfer.h"
#include "target/ReadPlan.h"
#include "target/RegisterNames.h"
#include "tests/BoardMap.h"
#include "tests/ExampleFiles.h"
#include "tests/FakeGdbServer.h"

namespace {

using Step = FakeGdbServer::Step;

TEST(TargetRegisters, ASetReadPassesOverRegistersAReadChangesOrGivesNothing) {
    const BoardMap board;
    const struct {
        const char* path;
        std::optional<ProblemCode> refused;  // none: read without asking
        const char* words;
    } cases[] = {
        {"ADC1.HTR", std::nullopt, ""},
        {"SCB.CPUID", std::nullopt, ""},  // read-only reads well
        {"USART1.DR", ProblemCode::kReadChangesIt, "USART1.DR changes when read"},  // readAction on the register
        {"SPI1.DR", ProblemCode::kReadChangesIt, "SPI1.DR changes when read"},      // readAction on a field
        {"SCRATCH.COMMAND", ProblemCode::kWriteOnly, "SCRATCH.COMMAND is write-only"},
    };
    for (const auto& c : cases) {
        const CRegisterItem* reg = board.Register(c.path);
        ASSERT_NE(reg, nullptr) << c.path;
        const Status read = CheckRead(board.map, *reg);
        EXPECT_EQ(read.Ok() ? std::nullopt : std::optional(read.Error().code), c.refused) << c.path;
        EXPECT_EQ(read.Ok() ? std::string() : read.Text(), c.words) << c.path;
    }
    const std::vector<CRegisterItem*> all = board.map.Registers();
    const TargetReadSelection selection = SelectForRead(board.map, all);
    std::vector<std::string> skipped;
    std::vector<ProblemCode> codes;
    for (const Problem& problem : selection.skipped) {
        skipped.push_back(problem.Describe());
        codes.push_back(problem.code);
    }
    // The map's own, then those of the core registers its <cpu> added.
    EXPECT_EQ(skipped, (std::vector<std::string>{
                           "USART1.DR changes when read", "SPI1.DR changes when read", "SCRATCH.COMMAND is write-only",
                           "SysTick.CTRL changes when read", "NVIC.STIR is write-only",
                           "CoreDebug.DHCSR changes when read", "CoreDebug.DCRSR is write-only",
                           "DWT.FUNCTION0 changes when read", "DWT.FUNCTION1 changes when read",
                           "DWT.FUNCTION2 changes when read", "DWT.FUNCTION3 changes when read",
                           "ITM.LAR is write-only"}));
    const ProblemCode changes = ProblemCode::kReadChangesIt, writeOnly = ProblemCode::kWriteOnly;
    EXPECT_EQ(codes, (std::vector<ProblemCode>{changes, changes, writeOnly, changes, writeOnly, changes, writeOnly,
                                               changes, changes, changes, changes, writeOnly}));
    ASSERT_EQ(selection.registers.size(), all.size() - skipped.size());
    EXPECT_EQ(selection.places[1].address, 0x40012000u);  // ADC1.SR, after USART1.SR
    EXPECT_EQ(board.map.AccessOf(*board.Register("SCB.CPUID")), RowAccess::ReadOnly);
    // What a write does beyond setting bits is told on the register.
    EXPECT_NE(std::string(board.Register("USART1.SR")->GetInfoText()).find("RXNE modifiedWriteValues zeroToClear"),
              std::string::npos);

    // A definitions file gives no addresses: nothing to read.
    CRegisterMap plain;
    LoadDefinitionsText(plain,
                        "<tavlin><regset name=\"S\" info=\"s\"><register name=\"R\" bits=\"32\" value=\"0\" "
                        "info=\"r\"><field name=\"F\" kind=\"edit\" info=\"f\" low=\"0\" high=\"7\"></field>"
                        "</register></regset></tavlin>",
                        "tavlin.xml");
    ASSERT_EQ(plain.Registers().size(), 1u);
    const Status read = CheckRead(plain, *plain.Registers().front());
    EXPECT_TRUE(read.Failed(ProblemCode::kNoAddress));
    EXPECT_EQ(read.Text(), "S.R has no address");
}

TEST(RegisterNames, APathASetOrAnAddress) {
    const BoardMap board;
    const struct {
        const char* name;
        std::vector<std::string> found;
        bool isSet;
        std::string problem;
    } cases[] = {
        {"ADC1.HTR", {"ADC1.HTR"}, false, ""},
        {"ADC1", {"ADC1.SR", "ADC1.HTR", "ADC1.LTR"}, true, ""},
        {"0x40012024", {"ADC1.HTR"}, false, ""},
        {"0X40012026", {"ADC1.HTR"}, false, ""},  // a byte inside it
        {"0xe000ed00", {"SCB.CPUID"}, false, ""},
        {"0x40012100", {}, false, "0x40012100 names no register"},
        {"ADC1.NOPE", {}, false, "ADC1.NOPE names no register"},
        {"0xZZ", {}, false, "0xZZ names no register"},
    };
    for (const auto& c : cases) {
        const auto named = FindNamedRegisters(board.map, c.name);
        std::vector<std::string> found;
        if (named) {
            for (const CRegisterItem* reg : named.Value().registers) found.push_back(RegisterPath(*reg));
            EXPECT_EQ(named.Value().isSet, c.isSet) << c.name;
        } else {
            EXPECT_TRUE(named.Failed(ProblemCode::kUnknownName)) << c.name;
        }
        EXPECT_EQ(found, c.found) << c.name;
        EXPECT_EQ(named.Ok() ? std::string() : named.Text(), c.problem) << c.name;
    }
}

TEST(TargetTransfer, NeighboursShareARequestAndAGapIsNeverRead) {
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=100");
    script.push_back({Step::After::kNextPacket, FakeGdbServer::Reply("01000000")});
    script.push_back({Step::After::kNextPacket, FakeGdbServer::Reply("ff0f00003412")});
    FakeGdbServer server(script);
    CGdbClient client(std::chrono::seconds(5));
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    const TargetRegister registers[] = {{0x40012000, 4, 32}, {0x40012024, 4, 12}, {0x40012028, 2, 16}};
    const auto values = ReadTargetRegisters(client, registers, false);
    ASSERT_TRUE(values.Ok()) << values.Text();
    // HTR's 12 bits are cut from what its word holds; LTR takes the first two bytes after it.
    EXPECT_EQ(values.Value(), (std::vector<std::uint64_t>{1, 0xFFF, 0x1234}));
    client.Disconnect();
    server.Finish();
    const std::vector<std::string> packets = server.Packets();
    ASSERT_GE(packets.size(), 5u);
    EXPECT_EQ(packets[2], "m40012000,4");
    EXPECT_EQ(packets[3], "m40012024,6");
}

// The command line and the window record what the chip holds after a
// write: read back where a read is harmless, else the value written (cut to
// the register), without a read.
TEST(TargetTransfer, AWriteIsReadBackExactlyWhereAReadIsHarmless) {
    const struct {
        const char* name;
        bool mayRead;  // CheckRead's answer for the register
        std::vector<Step> replies;
        std::uint64_t held;
        bool readBack;
        std::vector<std::string> packets;  // after the handshake
    } cases[] = {
        {"read back", true,
         {{Step::After::kNextPacket, FakeGdbServer::Reply("OK")}, {Step::After::kNextPacket, FakeGdbServer::Reply("0f000000")}},
         0xF, true, {"M40012000,4:ff000000", "m40012000,4"}},
        {"write-only", false, {{Step::After::kNextPacket, FakeGdbServer::Reply("OK")}}, 0xFF, false,
         {"M40012000,4:ff000000"}},
        {"a read changes it", false, {{Step::After::kNextPacket, FakeGdbServer::Reply("OK")}}, 0xFF,
         false, {"M40012000,4:ff000000"}},
    };
    for (const auto& c : cases) {
        std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=100");
        script.insert(script.end(), c.replies.begin(), c.replies.end());
        FakeGdbServer server(script);
        CGdbClient client(std::chrono::seconds(5));
        ASSERT_TRUE(client.Connect(server.Endpoint()).Ok()) << c.name;
        const auto held = WriteThenReadBack(client, {0x40012000, 4, 32}, 0xFF, false, c.mayRead);
        ASSERT_TRUE(held.Ok()) << c.name << ": " << held.Text();
        EXPECT_EQ(held.Value().value, c.held) << c.name;
        EXPECT_EQ(held.Value().readBack, c.readBack) << c.name;
        client.Disconnect();
        server.Finish();
        const std::vector<std::string> packets = server.Packets();
        ASSERT_GE(packets.size(), 2 + c.packets.size()) << c.name;
        EXPECT_EQ(std::vector<std::string>(packets.begin() + 2, packets.begin() + 2 + c.packets.size()), c.packets)
            << c.name;
    }
    // A refused write is not read back, and says why by its code.
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=100");
    script.push_back({Step::After::kNextPacket, FakeGdbServer::Reply("E01")});
    FakeGdbServer server(script);
    CGdbClient client(std::chrono::seconds(5));
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    EXPECT_TRUE(WriteThenReadBack(client, {0x40012000, 4, 32}, 1, false, true)
                    .Failed(ProblemCode::kTargetError));
}

TEST(TargetTransfer, AWriteSendsExactlyTheRegistersBytesInTheDevicesOrder) {
    for (const bool big : {false, true}) {
        std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=100");
        script.push_back({Step::After::kNextPacket, FakeGdbServer::Reply("OK")});
        script.push_back({Step::After::kNextPacket, FakeGdbServer::Reply("E01")});
        FakeGdbServer server(script);
        CGdbClient client(std::chrono::seconds(5));
        ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
        EXPECT_TRUE(WriteTargetRegister(client, {0x20000100, 4, 32}, 0x12345678, big).Ok());
        const Status refused = WriteTargetRegister(client, {0x20000104, 2, 16}, 0xFFFFBEEF, big);
        EXPECT_TRUE(refused.Failed(ProblemCode::kTargetError));
        EXPECT_EQ(refused.Text(), "the target refused to write 2 bytes at 0x20000104 (E01)");
        client.Disconnect();
        server.Finish();
        const std::vector<std::string> packets = server.Packets();
        ASSERT_GE(packets.size(), 4u);
        EXPECT_EQ(packets[2], big ? "M20000100,4:12345678" : "M20000100,4:78563412");
        EXPECT_EQ(packets[3], big ? "M20000104,2:beef" : "M20000104,2:efbe");
    }
}

struct PlanCase {
    const char* name;
    std::vector<TargetReadSpan> registers;
    std::uint32_t maxBytes;
    // Each request as address, bytes and the registers it covers.
    std::vector<PlannedRead> plan;
};

TEST(ReadPlan, FewestRequestsNeverAcrossAGap) {
    const PlanCase cases[] = {
        {"neighbours share a request", {{0x1000, 4}, {0x1004, 4}, {0x1008, 2}}, 64, {{0x1000, 10, {0, 1, 2}}}},
        {"a gap splits", {{0x1000, 4}, {0x1008, 4}}, 64, {{0x1000, 4, {0}}, {0x1008, 4, {1}}}},
        {"given in any order", {{0x1008, 4}, {0x1000, 4}, {0x1004, 4}}, 64, {{0x1000, 12, {1, 2, 0}}}},
        {"an unreadable register is a gap",
         {{0x1000, 4}, {0x1004, 4, false}, {0x1008, 4}},
         64,
         {{0x1000, 4, {0}}, {0x1008, 4, {2}}}},
        {"the packet size splits a run",
         {{0, 4}, {4, 4}, {8, 4}, {12, 4}, {16, 4}},
         8,
         {{0, 8, {0, 1}}, {8, 8, {2, 3}}, {16, 4, {4}}}},
        {"a register never splits across requests", {{0, 4}, {4, 4}, {8, 4}}, 10, {{0, 8, {0, 1}}, {8, 4, {2}}}},
        {"overlapping registers (alternates at one address)",
         {{0x40, 4}, {0x40, 4}, {0x42, 2}, {0x44, 4}},
         64,
         {{0x40, 8, {0, 1, 2, 3}}}},
        {"a register larger than a request stands alone", {{0, 4}, {4, 16}, {20, 4}}, 8,
         {{0, 4, {0}}, {4, 16, {1}}, {20, 4, {2}}}},
        {"nothing to read", {{0, 0}, {4, 4, false}}, 8, {}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PlannedRead> plan = PlanRegisterReads(c.registers, c.maxBytes);
        ASSERT_EQ(plan.size(), c.plan.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(plan[i].address, c.plan[i].address) << "request " << i;
            EXPECT_EQ(plan[i].bytes, c.plan[i].bytes) << "request " << i;
            EXPECT_EQ(plan[i].registers, c.plan[i].registers) << "request " << i;
        }
    }
}

}  // namespace
