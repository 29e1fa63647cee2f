// SPDX-License-Identifier: MIT
// The GDB client against a scripted server on a local socket: every reply
// form, damage, errors, silence, a closed connection, endless and oversized
// replies, garbage, cancelling, and what the client may never send.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "remote/CancelSignal.h"
#include "remote/GdbClient.h"
#include "remote/RspFraming.h"
#include "tests/FakeGdbServer.h"
#include "tests/QemuBoard.h"

namespace {

using namespace std::chrono_literals;
using Step = FakeGdbServer::Step;
using After = Step::After;

constexpr auto kShortTimeout = 300ms;

std::string Packet(std::string_view payload) { return FakeGdbServer::Packet(payload); }
std::string Reply(std::string_view payload) { return FakeGdbServer::Reply(payload); }

// A frame of bytes that are already escaped and run-length encoded.
std::string Framed(const std::string& framed) {
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02x", RspChecksum(framed));
    return "$" + framed + "#" + checksum;
}

// `count` runs of 98 zeros each.
std::string Runs(int count) {
    std::string framed;
    for (int i = 0; i < count; ++i) framed += "0*~";
    return framed;
}

std::vector<Step> Script(std::vector<Step> handshake, const std::vector<Step>& rest) {
    handshake.insert(handshake.end(), rest.begin(), rest.end());
    return handshake;
}

// Every packet the client sent is a query, a memory request or a detach,
// and it never sent the interrupt byte.
void ExpectOnlyMemoryTraffic(const FakeGdbServer& server) {
    for (const std::string& packet : server.Packets()) {
        const bool allowed = packet == "qSupported" || packet == "QStartNoAckMode" || packet == "?" ||
                             packet == "D" || packet.starts_with('m') || packet.starts_with('M');
        EXPECT_TRUE(allowed) << "the client sent " << packet;
    }
    EXPECT_EQ(server.Bytes().find('\x03'), std::string::npos);
}

struct ReadCase {
    const char* name;
    std::vector<Step> reply;           // after the handshake, for "m40021000,4"
    std::optional<std::string> value;  // the hex the read gives, or
    ProblemCode code = {};             // the code of its problem and
    std::string problem = {};          // its words, "{where}" standing for the server
    bool connectedAfter = true;
};

TEST(GdbClient, ReadsThroughEveryReplyForm) {
    const std::string endless = std::string("$").append(200 * 1024, '0');
    const ReadCase cases[] = {
        {"plain", {{After::kNextPacket, Reply("78563412")}}, "78563412"},
        {"upper-case hex", {{After::kNextPacket, Reply("ABCDEF01")}}, "abcdef01"},
        {"run-length encoded", {{After::kNextPacket, std::string("+").append(Framed("0* 1* "))}}, "00001111"},
        {"a stop reply first is passed over",
         {{After::kNextPacket, Reply("T05thread:01;") + Packet("S02") + Packet("0a000000")}},
         "0a000000"},
        {"console output and a notification first",
         {{After::kNextPacket, Reply("O4f4b0a") + "%Stop:T05#99" + Packet("c0000000")}},
         "c0000000"},
        {"split into pieces",
         {{After::kNextPacket, "+$ff"}, {After::kNothing, "0f00", 30ms}, {After::kNothing, "00#22", 30ms}},
         "ff0f0000"},
        {"a damaged reply is asked for again",
         {{After::kNextPacket, "+$ff0f0000#00"}, {After::kNextNak, Packet("ff0f0000")}},
         "ff0f0000"},
        {"the request is sent again when the server asks",
         {{After::kNextPacket, "-"}, {After::kNextPacket, Reply("40c20f41")}},
         "40c20f41"},
        {"a reply without its acknowledgement", {{After::kNextPacket, Packet("01020304")}}, "01020304"},
        {"an error", {{After::kNextPacket, Reply("E01")}}, std::nullopt, ProblemCode::kTargetError,
         "the target refused to read 4 bytes at 0x40021000 (E01)"},
        {"an empty reply", {{After::kNextPacket, Reply("")}}, std::nullopt, ProblemCode::kNotSupported, "the server at {where} does not read memory"},
        {"a short reply", {{After::kNextPacket, Reply("0102")}}, std::nullopt, ProblemCode::kShortReply,
         "the target gave 2 of 4 bytes at 0x40021000"},
        {"silence", {{After::kNextPacket, "+"}}, std::nullopt, ProblemCode::kTimedOut, "no answer from {where} within 300 ms", false},
        {"closed mid-reply", {{After::kNextPacket, "+$0102", 0ms, true}}, std::nullopt, ProblemCode::kConnectionLost,
         "the connection to {where} was lost", false},
        {"an endless reply", {{After::kNextPacket, endless}}, std::nullopt, ProblemCode::kBadReply,
         "the server at {where} sent a reply longer than 65536 bytes", false},
        {"a run decoding past the bound", {{After::kNextPacket, std::string("+").append(Framed(Runs(700)))}}, std::nullopt, ProblemCode::kBadReply,
         "the server at {where} sent a reply longer than 65536 bytes", false},
        {"garbage", {{After::kNextPacket, std::string(70 * 1024, 'x')}}, std::nullopt, ProblemCode::kBadReply,
         "the server at {where} sent 65536 bytes that are no packet", false},
        {"damaged again and again",
         {{After::kNextPacket, "+$00#00"},
          {After::kNextNak, "$00#00"},
          {After::kNextNak, "$00#00"},
          {After::kNextNak, "$00#00"}},
         std::nullopt, ProblemCode::kBadReply,
         "the server at {where} sent a damaged reply 4 times",
         false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeGdbServer server(Script(FakeGdbServer::Handshake("PacketSize=400"), c.reply));
        CGdbClient client(kShortTimeout);
        const Status connected = client.Connect(server.Endpoint());
        ASSERT_TRUE(connected.Ok()) << connected.Text();
        const auto read = client.ReadMemory(0x40021000, 4);
        std::string problem = c.problem;
        if (const auto at = problem.find("{where}"); at != std::string::npos) problem.replace(at, 7, server.Endpoint());
        if (c.value) {
            ASSERT_TRUE(read.Ok()) << read.Text();
            std::string hex;
            for (const std::uint8_t byte : read.Value()) {
                static constexpr char kHex[] = "0123456789abcdef";
                hex += kHex[byte >> 4];
                hex += kHex[byte & 0xF];
            }
            EXPECT_EQ(hex, *c.value);
        } else if (!problem.empty()) {
            ASSERT_FALSE(read.Ok());
            EXPECT_EQ(ProblemCodeName(read.Error().code), ProblemCodeName(c.code));
            EXPECT_EQ(read.Text(), problem);
        }
        EXPECT_EQ(client.IsConnected(), c.connectedAfter);
        client.Disconnect();
        server.Finish();
        ExpectOnlyMemoryTraffic(server);
        if (!c.reply.back().closeAfter) {
            ASSERT_FALSE(server.Packets().empty());
            EXPECT_EQ(server.Packets().back(), "D") << "the client detaches, whatever happened";
        }
    }
}

struct HandshakeCase {
    const char* name;
    std::vector<Step> script;
    std::uint32_t packetSize;
    bool noAck;
};

TEST(GdbClient, TakesThePacketSizeAndNoAckModeFromTheServer) {
    const HandshakeCase cases[] = {
        {"QEMU's", FakeGdbServer::Handshake("PacketSize=1000;qXfer:features:read+;vContSupported+"), 0x1000, false},
        {"no packet size", FakeGdbServer::Handshake("qXfer:features:read+"), CGdbClient::kDefaultPacketSize, false},
        {"an empty reply", FakeGdbServer::Handshake(""), CGdbClient::kDefaultPacketSize, false},
        {"huge", FakeGdbServer::Handshake("PacketSize=fffffffffffffffffff"), CGdbClient::kMaxPacketSize, false},
        {"tiny", FakeGdbServer::Handshake("PacketSize=4"), CGdbClient::kMinPacketSize, false},
        {"no acknowledgements", FakeGdbServer::Handshake("PacketSize=4000;QStartNoAckMode+"), 0x4000, true},
        {"a stop reply before the first answer",
         Script({{After::kNothing, Packet("T02thread:01;")}}, FakeGdbServer::Handshake("PacketSize=200")), 0x200,
         false},
    };
    for (const HandshakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string answer = c.noAck ? "" : "+";
        FakeGdbServer server(Script(c.script, {{After::kNextPacket, answer.append(Packet("2a"))}}));
        CGdbClient client(kShortTimeout);
        const Status connected = client.Connect(server.Endpoint());
        ASSERT_TRUE(connected.Ok()) << connected.Text();
        EXPECT_EQ(client.PacketSize(), c.packetSize);
        EXPECT_EQ(client.NoAckMode(), c.noAck);
        const auto read = client.ReadMemory(0x20000000, 1);
        ASSERT_TRUE(read.Ok()) << read.Text();
        EXPECT_EQ(read.Value(), std::vector<std::uint8_t>{0x2a});
        client.Disconnect();
        server.Finish();
        // Acknowledgements stop right after the server's OK to QStartNoAckMode.
        const std::string bytes = server.Bytes();
        const auto afterNoAck = bytes.find("$QStartNoAckMode");
        if (c.noAck) {
            ASSERT_NE(afterNoAck, std::string::npos);
            const std::string rest = bytes.substr(bytes.find('#', afterNoAck) + 3);
            EXPECT_TRUE(rest.starts_with('+') && rest.find('+', 1) == std::string::npos) << bytes;
        } else {
            EXPECT_EQ(afterNoAck, std::string::npos);
        }
        const std::vector<std::string> expected = c.noAck
            ? std::vector<std::string>{"qSupported", "QStartNoAckMode", "?", "m20000000,1", "D"}
            : std::vector<std::string>{"qSupported", "?", "m20000000,1", "D"};
        EXPECT_EQ(server.Packets(), expected);
    }
}

TEST(GdbClient, SplitsReadsAndWritesByThePacketSize) {
    // PacketSize 0x40: reads of (64 - 4) / 2 = 30 bytes, writes of (64 - 31) / 2 = 16.
    FakeGdbServer server(Script(FakeGdbServer::Handshake("PacketSize=40"),
                                {{After::kNextPacket, Reply(std::string(60, '1'))},
                                 {After::kNextPacket, Reply(std::string(60, '2'))},
                                 {After::kNextPacket, Reply(std::string(20, '3'))},
                                 {After::kNextPacket, Reply("OK")},
                                 {After::kNextPacket, Reply("OK")},
                                 {After::kNextPacket, Reply("E14")}}));
    CGdbClient client(kShortTimeout);
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    EXPECT_EQ(client.MaxReadBytes(), 30u);
    const auto read = client.ReadMemory(0x20000000, 70);
    ASSERT_TRUE(read.Ok()) << read.Text();
    ASSERT_EQ(read.Value().size(), 70u);
    EXPECT_EQ(read.Value()[0], 0x11);
    EXPECT_EQ(read.Value()[30], 0x22);
    EXPECT_EQ(read.Value()[69], 0x33);

    std::vector<std::uint8_t> bytes(20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    EXPECT_TRUE(client.WriteMemory(0x20000100, bytes).Ok());
    const Status refused = client.WriteMemory(0x40021000, std::vector<std::uint8_t>{1, 0, 0, 0});
    EXPECT_EQ(refused.Text(), "the target refused to write 4 bytes at 0x40021000 (E14)");
    client.Disconnect();
    server.Finish();
    const std::vector<std::string> expected{"qSupported",
                                            "?",
                                            "m20000000,1e",
                                            "m2000001e,1e",
                                            "m2000003c,a",
                                            "M20000100,10:000102030405060708090a0b0c0d0e0f",
                                            "M20000110,4:10111213",
                                            "M40021000,4:01000000",
                                            "D"};
    EXPECT_EQ(server.Packets(), expected);
}

TEST(GdbClient, SaysWhyItCannotConnect) {
    // A port nobody listens on.
    const std::string closedPort = "127.0.0.1:" + std::to_string(FreeLoopbackPort());

    CGdbClient client(kShortTimeout);
    const Status refused = client.Connect(closedPort);
    EXPECT_TRUE(refused.Failed(ProblemCode::kConnectionRefused));
    EXPECT_EQ(refused.Text(), "connection to " + closedPort + " refused");
    const Status unparsed = client.Connect("localhost");
    EXPECT_TRUE(unparsed.Failed(ProblemCode::kBadEndpoint));
    EXPECT_EQ(unparsed.Text(), "HOST:PORT expected, not \"localhost\"");
    EXPECT_TRUE(client.ReadMemory(0, 4).Failed(ProblemCode::kNotConnected));
    EXPECT_EQ(client.ReadMemory(0, 4).Text(), "not connected to a target");
    {
        FakeGdbServer silent({{After::kNextPacket, ""}});
        const Status silence = client.Connect(silent.Endpoint());
        EXPECT_TRUE(silence.Failed(ProblemCode::kTimedOut));
        EXPECT_EQ(silence.Text(), "no answer from " + silent.Endpoint() + " within 300 ms");
        EXPECT_FALSE(client.IsConnected());
    }
}

// Runs `work` while another thread raises `cancel` 50 ms in; how long `work` took.
std::chrono::steady_clock::duration TimeCancelled(CCancelSignal& cancel, const std::function<void()>& work) {
    std::thread escape([&] {
        std::this_thread::sleep_for(50ms);
        cancel.Cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    work();
    escape.join();
    return std::chrono::steady_clock::now() - started;
}

TEST(GdbClient, ACancelStopsTheRequestUnderWayAtOnce) {
    FakeGdbServer server(Script(FakeGdbServer::Handshake("PacketSize=400"), {{After::kNextPacket, "+"}}));
    CCancelSignal cancel;
    CGdbClient client(5s);
    ASSERT_TRUE(client.Connect(server.Endpoint(), &cancel).Ok());
    Result<std::vector<std::uint8_t>> read = Result<std::vector<std::uint8_t>>::Success({});
    EXPECT_LT(TimeCancelled(cancel, [&] { read = client.ReadMemory(0x40021000, 4); }), 2s);
    EXPECT_TRUE(read.Failed(ProblemCode::kCancelled));
    EXPECT_EQ(read.Text(), "the read of 4 bytes at 0x40021000 was cancelled");
    EXPECT_FALSE(client.IsConnected());
    server.Finish();
    EXPECT_EQ(server.Packets().back(), "D");
}

// A wait for a notification is no request: a cancel ends it and the connection stays.
TEST(GdbClient, ACancelEndsTheWaitForANotificationAndTheConnectionStays) {
    FakeGdbServer server(FakeGdbServer::Handshake("PacketSize=400;QStartNoAckMode+"));
    CCancelSignal cancel;
    CGdbClient client(5s);
    ASSERT_TRUE(client.Connect(server.Endpoint(), &cancel).Ok());
    Result<std::string> waited = Result<std::string>::Success("");
    EXPECT_LT(TimeCancelled(cancel, [&] { waited = client.WaitForNotification(std::chrono::hours(1)); }), 2s);
    EXPECT_TRUE(waited.Failed(ProblemCode::kCancelled)) << waited.Text();
    EXPECT_TRUE(client.IsConnected());
}

TEST(GdbClient, ANameThatDoesNotResolveFailsWithinTheDeadline) {
    // ".invalid" never resolves; a machine without a resolver may instead
    // leave the lookup hanging, which the deadline must cut short.
    CGdbClient client(kShortTimeout);
    const auto started = std::chrono::steady_clock::now();
    const Status connected = client.Connect("tavlin-no-such-host.invalid:3333");
    EXPECT_LT(std::chrono::steady_clock::now() - started, kShortTimeout + 1s);
    EXPECT_TRUE(connected.Failed(ProblemCode::kHostNotFound) || connected.Failed(ProblemCode::kTimedOut))
        << connected.Text();
    EXPECT_TRUE(connected.Text().starts_with("cannot find the host tavlin-no-such-host.invalid")) << connected.Text();
}

TEST(GdbClient, ACancelRaisedBeforeTheConnectStopsIt) {
    // A cancel raised before the connect stops it before it waits: the
    // window's Escape may come between two requests.
    CCancelSignal cancel;
    cancel.Cancel();
    CGdbClient client(5s);
    const auto started = std::chrono::steady_clock::now();
    const Status connected = client.Connect("127.0.0.1:" + std::to_string(FreeLoopbackPort()), &cancel);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_TRUE(connected.Failed(ProblemCode::kCancelled)) << connected.Text();
}

}  // namespace
