// SPDX-License-Identifier: MIT
// Notifications ("%Stop:T05#99") from a scripted server: kept when they come
// during a request, waited for while idle, never acknowledged and never taken
// for a reply, and written to the packet trace. Every wait has a deadline.
#include <gtest/gtest.h>

#include <chrono>
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

struct WaitCase {
    const char* name;
    std::vector<Step> script;               // after the handshake
    bool readFirst;                         // a read of 4 bytes at 0x20000100 before the waits
    std::vector<std::string> notifications;  // what the waits give, in order, then
    ProblemCode end;                        // the problem of the wait after them
    bool connectedAfter;
    // What the client sent from the handshake's last request to its detach,
    // where that is all: no acknowledgement of a notification, no '-' for a damaged one.
    std::string handshakeToDetach = {};
};

TEST(GdbClientNotifications, AreKeptWaitedForAndNeverTakenForAReply) {
    const std::string stop = FakeGdbServer::Notification("Stop:T05");
    const std::string running = FakeGdbServer::Notification("Running:1");
    const WaitCase cases[] = {
        {"one during a read comes first, and the read has its reply",
         {{After::kNextPacket, "+" + stop + FakeGdbServer::Packet("01000000")}}, true, {"Stop:T05"},
         ProblemCode::kTimedOut, true},
        {"sent while idle", {{After::kNothing, running, 50ms}, {After::kNothing, stop, 50ms}}, false,
         {"Running:1", "Stop:T05"}, ProblemCode::kTimedOut, true, "$?#3f+$D#44"},
        {"a stop reply nobody asked for is passed over",
         {{After::kNothing, FakeGdbServer::Packet("T05thread:01;") + stop, 20ms}}, false, {"Stop:T05"},
         ProblemCode::kTimedOut, true},
        {"a damaged one is passed over, not asked for again",
         {{After::kNothing, "%Stop:T05#00" + running, 20ms}}, false, {"Running:1"}, ProblemCode::kTimedOut, true,
         "$?#3f+$D#44"},
        {"the server closes", {{After::kNothing, stop, 20ms, true}}, false, {"Stop:T05"},
         ProblemCode::kConnectionLost, false},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=400");
        script.insert(script.end(), c.script.begin(), c.script.end());
        FakeGdbServer server(script);
        CGdbClient client(1s);
        ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
        if (c.readFirst) {
            const auto read = client.ReadMemory(0x20000100, 4);
            ASSERT_TRUE(read.Ok()) << read.Text();
            EXPECT_EQ(read.Value(), (std::vector<std::uint8_t>{1, 0, 0, 0}));
        }
        for (const std::string& expected : c.notifications) {
            const auto got = client.WaitForNotification(2s);
            ASSERT_TRUE(got.Ok()) << got.Text();
            EXPECT_EQ(got.Value(), expected);
        }
        const auto last = client.WaitForNotification(150ms);
        EXPECT_TRUE(last.Failed(c.end)) << last.Text();
        EXPECT_EQ(client.IsConnected(), c.connectedAfter);
        client.Disconnect();
        server.Finish();
        if (!c.handshakeToDetach.empty()) {
            EXPECT_NE(server.Bytes().find(c.handshakeToDetach), std::string::npos) << server.Bytes();
        }
    }
}

TEST(GdbClientNotifications, AreWrittenToThePacketTrace) {
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=400");
    script.push_back({After::kNothing, FakeGdbServer::Notification("Stop:T05"), 20ms});
    FakeGdbServer server(script);
    std::ostringstream lines;
    CGdbClient client(1s);
    client.SetTrace(std::make_shared<CPacketTrace>(lines));
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    ASSERT_TRUE(client.WaitForNotification(2s).Ok());
    EXPECT_NE(lines.str().find("[remote] Notification received: Stop:T05\n"), std::string::npos) << lines.str();
}

}  // namespace
