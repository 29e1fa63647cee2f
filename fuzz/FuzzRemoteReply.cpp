// SPDX-License-Identifier: MIT
// Fuzzes what a GDB server sends: the input is the server's whole side of a
// session, cut into reads of a size byte 0 picks, answering the client's
// handshake, two reads and a write over an in-memory stream. Checks: the
// packet reader never holds more than its bound, the client never waits for
// bytes that cannot come (every receive gets at least one byte, or the
// stream ends), and every packet the reader decodes encodes back to itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "remote/ByteChannel.h"
#include "remote/GdbClient.h"
#include "remote/RspFraming.h"
#include "remote/RspPacketReader.h"
#include "remote/RspSession.h"

namespace {

// The reader's bound, plus the one feed it may hold besides its frame and payload.
constexpr std::size_t kHeldBound = 2 * CRspPacketReader::kDefaultLimit + 4096;

class CScriptedChannel final : public CByteChannel {
public:
    CScriptedChannel(std::string_view replies, std::size_t chunk, const CGdbClient& client)
        : m_replies(replies), m_chunk(chunk), m_client(client) {}

    Status Send(std::string_view bytes, RemoteDeadline) override {
        // The client never sends the interrupt byte.
        FUZZ_CHECK(bytes.find('\x03') == std::string_view::npos);
        return Succeeded();
    }

    Status Receive(char* buffer, std::size_t capacity, std::size_t& received, RemoteDeadline) override {
        if (const CRspSession* session = m_client.Session()) FUZZ_CHECK(session->Reader().HeldBytes() <= kHeldBound);
        if (m_replies.empty()) return Status::Failure(ProblemCode::kConnectionLost, "the replies are used up");
        received = std::min({capacity, m_chunk, m_replies.size()});
        std::copy_n(m_replies.data(), received, buffer);
        m_replies.remove_prefix(received);
        return Succeeded();
    }

    const std::string& Where() const override { return m_where; }

private:
    std::string_view m_replies;
    std::size_t m_chunk;
    const CGdbClient& m_client;
    std::string m_where = "fuzz:1";
};

void CheckPacketsReencode(std::string_view replies) {
    CRspPacketReader reader;
    for (std::size_t at = 0; at < replies.size(); at += 4096) {
        reader.Feed(replies.substr(at, 4096));
        for (auto event = reader.Next(); event != CRspPacketReader::Event::kNeedBytes; event = reader.Next()) {
            FUZZ_CHECK(reader.HeldBytes() <= kHeldBound);
            if (event != CRspPacketReader::Event::kPacket) continue;
            const std::string payload = reader.Payload();
            std::string decoded;
            FUZZ_CHECK(DecodeRspPayload(EscapeRspPayload(payload), payload.size(), decoded) == RspDecoding::kDecoded);
            FUZZ_CHECK(decoded == payload);
            CRspPacketReader again;
            again.Feed(EncodeRspPacket(payload));
            FUZZ_CHECK(again.Next() == CRspPacketReader::Event::kPacket && again.Payload() == payload);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t chunk = data[0] % 64 == 0 ? 4096 : data[0] % 64;
    const std::string_view replies(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckPacketsReencode(replies);

    CGdbClient client(std::chrono::milliseconds(1000));
    if (client.Start(std::make_unique<CScriptedChannel>(replies, chunk, client)).Ok()) {
        FUZZ_CHECK(client.PacketSize() >= CGdbClient::kMinPacketSize && client.PacketSize() <= CGdbClient::kMaxPacketSize);
        const auto word = client.ReadMemory(0x40021000, 4);
        FUZZ_CHECK(!word.Ok() || word.Value().size() == 4);
        const auto block = client.ReadMemory(0x20000000, 300);
        FUZZ_CHECK(!block.Ok() || block.Value().size() == 300);
        FUZZ_CHECK(word.Ok() || !word.Text().empty());
        const std::vector<std::uint8_t> bytes{1, 2, 3, 4};
        client.WriteMemory(0x20000000, bytes);
    }
    client.Disconnect();
    return 0;
}
