// SPDX-License-Identifier: MIT
// The packet trace: every packet and acknowledgement of a read and a write,
// in order and in both directions, each line stamped.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "remote/GdbClient.h"
#include "remote/PacketTrace.h"
#include "tests/FakeGdbServer.h"

namespace {

using namespace std::chrono_literals;
using Step = FakeGdbServer::Step;
using After = Step::After;

std::string Sent(std::string_view payload) { return "[remote] Sending packet: " + FakeGdbServer::Packet(payload); }
std::string Got(std::string_view payload) { return "[remote] Packet received: " + std::string(payload); }
const std::string kAckIn = "[remote] Received Ack";
const std::string kAckOut = "[remote] Sending ack";

// The trace's lines without their time stamps, after checking that each has
// one and that they never go back.
std::vector<std::string> Unstamped(const std::string& trace) {
    static const std::regex stamped(R"(^(\d+)\.(\d{6}) (.*)$)");
    std::vector<std::string> lines;
    std::istringstream in(trace);
    double last = 0;
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, stamped)) << line;
        if (match.empty()) continue;
        const double seconds = std::stod(match[1].str() + "." + match[2].str());
        EXPECT_GE(seconds, last) << line;
        last = seconds;
        lines.push_back(match[3]);
    }
    return lines;
}

TEST(PacketTrace, RecordsEveryPacketOfAReadAndAWriteInOrder) {
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=100");
    script.push_back({After::kNextPacket, FakeGdbServer::Reply("01000000")});
    script.push_back({After::kNextPacket, FakeGdbServer::Reply("OK")});
    // A damaged reply is asked for again, and the request sent again on a '-'.
    script.push_back({After::kNextPacket, "+$E0#00"});
    script.push_back({After::kNextNak, FakeGdbServer::Packet("2a000000")});
    FakeGdbServer server(script);
    std::ostringstream out;
    auto trace = std::make_shared<CPacketTrace>(out);
    CGdbClient client(2s);
    client.SetTrace(trace);
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    ASSERT_TRUE(client.ReadMemory(0x20000000, 4).Ok());
    ASSERT_TRUE(client.WriteMemory(0x20000000, std::vector<std::uint8_t>{2, 0, 0, 0}).Ok());
    ASSERT_TRUE(client.ReadMemory(0x20000004, 4).Ok());
    client.Disconnect();
    server.Finish();

    const std::vector<std::string> expected{
        Sent("qSupported"), kAckIn, Got("PacketSize=100"), kAckOut,
        Sent("?"), kAckIn, Got("S05"), kAckOut,
        Sent("m20000000,4"), kAckIn, Got("01000000"), kAckOut,
        Sent("M20000000,4:02000000"), kAckIn, Got("OK"), kAckOut,
        Sent("m20000004,4"), kAckIn, "[remote] Sending nack", Got("2a000000"), kAckOut,
        Sent("D"), kAckIn, Got("OK"), kAckOut};
    EXPECT_EQ(Unstamped(out.str()), expected);
}

TEST(PacketTrace, WritesBytesATerminalWouldActOnEscaped) {
    std::ostringstream out;
    CPacketTrace trace(out);
    trace.Received(std::string("a\x1b[2J\\b\n", 8));
    EXPECT_EQ(Unstamped(out.str()), std::vector<std::string>{"[remote] Packet received: a\\x1b[2J\\x5cb\\x0a"});
}

TEST(PacketTrace, AFileThatCannotBeMadeIsAProblemNotACrash) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const auto refused = CPacketTrace::OpenFile(folder);
    EXPECT_TRUE(refused.Failed(ProblemCode::kCannotWrite));
    EXPECT_EQ(refused.Text().rfind("cannot write the packet trace " + folder + ": ", 0), 0u) << refused.Text();

    const std::string path = (std::filesystem::temp_directory_path() / "tavlin-trace-test.txt").string();
    {
        auto trace = CPacketTrace::OpenFile(path);
        ASSERT_TRUE(trace.Ok()) << trace.Text();
        trace.Value()->SentAck();
    }
    std::ifstream written(path);
    std::string line;
    std::getline(written, line);
    EXPECT_NE(line.find("[remote] Sending ack"), std::string::npos) << line;
    written.close();  // Windows removes no file that is open
    std::filesystem::remove(path);
}

}  // namespace
