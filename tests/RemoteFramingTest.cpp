// SPDX-License-Identifier: MIT
// Packet framing, the bounded packet reader, HOST:PORT and read planning:
// the parts of the GDB client that need no server.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "remote/Endpoint.h"
#include "remote/RspFraming.h"
#include "remote/RspPacketReader.h"

namespace {

using Event = CRspPacketReader::Event;

TEST(RspFraming, EncodesWithEscapesAndLowerCaseChecksums) {
    EXPECT_EQ(EncodeRspPacket(""), "$#00");
    EXPECT_EQ(EncodeRspPacket("OK"), "$OK#9a");
    EXPECT_EQ(EncodeRspPacket("m40012024,4"), "$m40012024,4#5a");
    // '#', '$', '}' and '*' travel as '}' and the byte XOR 0x20.
    EXPECT_EQ(EncodeRspPacket("a#$}*"), "$a}\x03}\x04}]}\x0a#c3");
}

struct DecodeCase {
    std::string framed;
    std::optional<std::string> payload;  // nullopt: malformed or too long
    std::size_t limit = 128;
};

TEST(RspFraming, DecodesEscapesAndRunsOrRefuses) {
    const DecodeCase cases[] = {
        {"0* ", "0000"},                       // ' ' is 3 more
        {"ab*!c", "abbbbbc"},                  // '!' is 4 more
        {"x*~", std::string(98, 'x')},         // '~' is 97 more, the most
        {"}\x03}\x04}]}\x0a", "#$}*"},
        {"}]* ", "}}}}"},                      // a run repeats the decoded byte
        {"*!", std::nullopt},                  // a run with nothing before it
        {"a*", std::nullopt},                  // a run without its count
        {"a*\x1f", std::nullopt},              // a count below 3
        {"abc}", std::nullopt},                // an escape at the end
        {std::string(17, 'z'), std::nullopt, 16},  // over the limit
        {"z*~", std::nullopt, 16},                 // a run over the limit
    };
    for (const DecodeCase& c : cases) {
        std::string payload;
        const RspDecoding result = DecodeRspPayload(c.framed, c.limit, payload);
        SCOPED_TRACE(c.framed);
        EXPECT_EQ(result == RspDecoding::kDecoded, c.payload.has_value());
        if (c.payload) {
            EXPECT_EQ(payload, *c.payload);
        }
    }
}

struct ReaderCase {
    const char* name;
    std::vector<std::string> feeds;
    std::vector<Event> events;
    std::vector<std::string> payloads;  // of the kPacket events, in order
    std::size_t limit = CRspPacketReader::kDefaultLimit;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(RspPacketReader, SplitsWhatServersSend) {
    const ReaderCase cases[] = {
        {"acks and a packet", {"+-$OK#9a"}, {Event::kAck, Event::kNak, Event::kPacket}, {"OK"}},
        {"a packet a byte at a time", {"$", "O", "K", "#", "9", "a"}, {Event::kPacket}, {"OK"}},
        {"merged packets", {"+$OK#9a$S05#b8+"}, {Event::kAck, Event::kPacket, Event::kPacket, Event::kAck},
         {"OK", "S05"}},
        {"upper-case checksum", {"$OK#9A"}, {Event::kPacket}, {"OK"}},
        {"a wrong checksum", {"$OK#9b$OK#9a"}, {Event::kDamaged, Event::kPacket}, {"OK"}},
        {"a checksum that is no hex", {"$OK#9g$OK#9a"}, {Event::kDamaged, Event::kPacket}, {"OK"}},
        {"a bad escape", {"$}#7d"}, {Event::kDamaged}, {}},
        {"a notification is passed over", {"%Stop:T05#99$OK#9a"}, {Event::kNotification, Event::kPacket}, {"OK"}},
        {"noise between packets", {"xyz\r\n$OK#9a"}, {Event::kPacket}, {"OK"}},
        {"a frame cut off by the next", {"$ff0f$OK#9a"}, {Event::kPacket}, {"OK"}},
        {"run-length encoded", {"$0* #", "7a"}, {Event::kPacket}, {"0000"}},
        {"garbage past the limit", {Repeat('x', 17)}, {Event::kGarbage}, {}, 16},
        {"a frame past the limit, then a good one", {"$" + Repeat('0', 40) + "#00", "$OK#9a"},
         {Event::kOverflow, Event::kPacket}, {"OK"}, 16},
        {"a run decoding past the limit", {"$0*~#d8"}, {Event::kOverflow}, {}, 16},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRspPacketReader reader(c.limit);
        std::vector<Event> events;
        std::vector<std::string> payloads;
        for (const std::string& feed : c.feeds) {
            reader.Feed(feed);
            for (Event e = reader.Next(); e != Event::kNeedBytes; e = reader.Next()) {
                events.push_back(e);
                if (e == Event::kPacket) payloads.push_back(reader.Payload());
                EXPECT_LE(reader.HeldBytes(), 2 * c.limit + feed.size());
            }
        }
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(payloads, c.payloads);
    }
}

TEST(RspPacketReader, EveryPacketItDecodesEncodesBackToItself) {
    for (const std::string& payload : {std::string("T05thread:01;"), std::string("a#b$c}d*e"), std::string(300, '0')}) {
        CRspPacketReader reader;
        reader.Feed(EncodeRspPacket(payload));
        ASSERT_EQ(reader.Next(), Event::kPacket);
        EXPECT_EQ(reader.Payload(), payload);
    }
}

struct EndpointCase {
    const char* text;
    const char* host;  // null: refused
    std::uint16_t port;
};

TEST(RemoteEndpoint, ReadsHostAndPort) {
    const EndpointCase cases[] = {
        {"localhost:3333", "localhost", 3333},  {"127.0.0.1:1234", "127.0.0.1", 1234},
        {"[::1]:2331", "::1", 2331},            {"probe.local:65535", "probe.local", 65535},
        {"localhost", nullptr, 0},              {"localhost:", nullptr, 0},
        {":3333", nullptr, 0},                  {"localhost:0", nullptr, 0},
        {"localhost:65536", nullptr, 0},        {"localhost:33x", nullptr, 0},
        {"::1:3333", nullptr, 0},               {"[::1]3333", nullptr, 0},
    };
    for (const EndpointCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto endpoint = ParseRemoteEndpoint(c.text);
        ASSERT_EQ(endpoint.Ok(), c.host != nullptr) << endpoint.Text();
        if (!c.host) {
            EXPECT_EQ(endpoint.Text(), std::string("HOST:PORT expected, not \"") + c.text + "\"");
            continue;
        }
        EXPECT_EQ(endpoint.Value().host, c.host);
        EXPECT_EQ(endpoint.Value().port, c.port);
        EXPECT_EQ(endpoint.Value().Text(), c.text);
    }
}

}  // namespace
