// SPDX-License-Identifier: MIT
// Following a GDB session's stops against a scripted server's notifications:
// which registers each stop and each row shown read, the baselines their
// changed bits are marked against, nothing read while the target runs, and a
// read from before a stop not taken as after it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "target/TargetTransfer.h"
#include "target/StopFollower.h"
#include "remote/GdbClient.h"
#include "tests/BoardMap.h"
#include "tests/FakeGdbServer.h"

namespace {

using namespace std::chrono_literals;
using Step = FakeGdbServer::Step;
using After = Step::After;

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// One move of the window's, as the follower sees it, and what it should give.
struct Move {
    enum class Kind {
        kNotice,  // the next notification, given to the follower: "stopped", "running"
        kPlan,    // what to read of `inView`: the registers' paths
        kRead,    // the last plan read from the server: "PATH=VALUE changed BITS" each
        kTook,    // the last plan's values handed back
    } kind;
    std::string expected;
    std::vector<std::string> inView = {};
};

struct FollowCase {
    const char* name;
    std::vector<Step> script;  // after the handshake
    std::vector<Move> moves;
};

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : " ") + part;
    return text;
}

void Play(const FollowCase& c) {
    SCOPED_TRACE(c.name);
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=400");
    script.insert(script.end(), c.script.begin(), c.script.end());
    FakeGdbServer server(script);
    CGdbClient client(2s);
    ASSERT_TRUE(client.Connect(server.Endpoint()).Ok());
    BoardMap board;
    CStopFollower follower(board.map);
    CStopFollower::StopRead last;
    for (std::size_t i = 0; i < c.moves.size(); ++i) {
        const Move& move = c.moves[i];
        SCOPED_TRACE("move " + std::to_string(i));
        std::vector<std::string> got;
        switch (move.kind) {
        case Move::Kind::kNotice: {
            const auto payload = client.WaitForNotification(2s);
            ASSERT_TRUE(payload.Ok()) << payload.Text();
            const auto notice = follower.Notified(payload.Value());
            got.push_back(notice == CStopFollower::Notice::kStopped   ? "stopped"
                          : notice == CStopFollower::Notice::kRunning ? "running"
                                                                      : "other");
            break;
        }
        case Move::Kind::kPlan: {
            std::vector<CRegisterItem*> inView;
            for (const std::string& path : move.inView) inView.push_back(board.Register(path));
            last = follower.Plan(inView);
            for (const CRegisterItem* reg : last.selection.registers) got.push_back(RegisterPath(*reg));
            break;
        }
        case Move::Kind::kRead: {
            const auto values = ReadTargetRegisters(client, last.selection.places, board.map.IsBigEndian());
            ASSERT_TRUE(values.Ok()) << values.Text();
            for (std::size_t r = 0; r < last.selection.registers.size(); ++r) {
                CRegisterItem& reg = *last.selection.registers[r];
                board.map.SetValue(reg, values.Value()[r], ValueSource::Target);
                got.push_back(RegisterPath(reg) + "=" + Hex(values.Value()[r]) + " changed " +
                              Hex(board.map.ChangedBits(reg)));
            }
            break;
        }
        case Move::Kind::kTook: follower.Took(last); break;
        }
        EXPECT_EQ(Joined(got), move.expected);
    }
    client.Disconnect();
    server.Finish();
}

using K = Move::Kind;
const std::string kStop = FakeGdbServer::Notification("Stop:T05");
const std::string kRunning = FakeGdbServer::Notification("Running:1");

TEST(StopFollower, EachStopReadsTheRegistersInViewAgainstTheStopBefore) {
    const FollowCase cases[] = {
        {"the first stop against the reset value, the next against the first",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")},
          {After::kNothing, kRunning}, {After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("80010000")}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}},
          {K::kRead, "ADC1.HTR=0x100 changed 0xeff"}, {K::kTook, ""},
          {K::kNotice, "running"}, {K::kPlan, "", {"ADC1.HTR", "ADC1.LTR"}},
          {K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}},
          {K::kRead, "ADC1.HTR=0x180 changed 0x80"}, {K::kTook, ""}}},
        {"a register read at no stop yet keeps its reset value as its baseline",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")},
          {After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("000100000f000000")}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}}, {K::kRead, "ADC1.HTR=0x100 changed 0xeff"},
          {K::kTook, ""}, {K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR ADC1.LTR", {"ADC1.HTR", "ADC1.LTR"}},
          {K::kRead, "ADC1.HTR=0x100 changed 0x0 ADC1.LTR=0xf changed 0xf"}, {K::kTook, ""}}},
    };
    for (const FollowCase& c : cases) Play(c);
}

TEST(StopFollower, BetweenStopsOnlyRowsNotReadAtThisStopAreRead) {
    const FollowCase cases[] = {
        {"a row shown after the stop is read once; one a read changes never",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")},
          {After::kNextPacket, FakeGdbServer::Reply("05000000")}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR", "USART1.DR"}}, {K::kRead, "ADC1.HTR=0x100 changed 0xeff"},
          {K::kTook, ""}, {K::kPlan, "ADC1.LTR", {"ADC1.HTR", "ADC1.LTR", "USART1.DR"}},
          {K::kRead, "ADC1.LTR=0x5 changed 0x5"}, {K::kTook, ""}, {K::kPlan, "", {"ADC1.HTR", "ADC1.LTR"}}}},
        {"a read that was not handed back is planned again",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}},
          {K::kRead, "ADC1.HTR=0x100 changed 0xeff"}, {K::kTook, ""}, {K::kPlan, "", {"ADC1.HTR"}}}},
    };
    for (const FollowCase& c : cases) Play(c);
}

TEST(StopFollower, AReadFromBeforeAStopIsNotTakenAsAfterIt) {
    const FollowCase cases[] = {
        {"a stop during the read: read again, against what the read gave",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")},
          {After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00020000")}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}}, {K::kRead, "ADC1.HTR=0x100 changed 0xeff"},
          {K::kNotice, "stopped"}, {K::kTook, ""}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}},
          {K::kRead, "ADC1.HTR=0x200 changed 0x300"}, {K::kTook, ""}, {K::kPlan, "", {"ADC1.HTR"}}}},
        {"the target resumed during the read: nothing read until it stops",
         {{After::kNothing, kStop}, {After::kNextPacket, FakeGdbServer::Reply("00010000")},
          {After::kNothing, kRunning}},
         {{K::kNotice, "stopped"}, {K::kPlan, "ADC1.HTR", {"ADC1.HTR"}}, {K::kRead, "ADC1.HTR=0x100 changed 0xeff"},
          {K::kNotice, "running"}, {K::kTook, ""}, {K::kPlan, "", {"ADC1.HTR", "ADC1.LTR"}}}},
    };
    for (const FollowCase& c : cases) Play(c);
}

TEST(StopFollower, ConnectionsAndMapsStartAfresh) {
    BoardMap board;
    CStopFollower follower(board.map);
    EXPECT_FALSE(follower.ReadsShownRows()) << "a connection that has told of no stop";
    follower.Notified("Running:1");
    EXPECT_TRUE(follower.FollowsStops());
    EXPECT_TRUE(follower.IsTargetRunning());
    EXPECT_FALSE(follower.ReadsShownRows());
    follower.Reset();
    EXPECT_FALSE(follower.FollowsStops());
    EXPECT_FALSE(follower.IsTargetRunning());
    follower.Notified("Stop:T05");
    EXPECT_TRUE(follower.ReadsShownRows());
    CRegisterItem* htr = board.Register("ADC1.HTR");
    CRegisterItem* const inView[] = {htr};
    const auto read = follower.Plan(inView);
    board.map.SetValue(*htr, 0x100, ValueSource::Target);
    follower.Took(read);
    EXPECT_TRUE(follower.Plan(inView).selection.registers.empty());
    follower.MapReplaced();
    EXPECT_EQ(follower.Plan(inView).selection.registers.size(), 1u) << "nothing of the old map counts as read";
    EXPECT_TRUE(follower.Defer());
    EXPECT_FALSE(follower.Defer()) << "one deferred read for a burst";
    EXPECT_TRUE(follower.TakeDeferred());
    EXPECT_FALSE(follower.TakeDeferred());
}

}  // namespace
