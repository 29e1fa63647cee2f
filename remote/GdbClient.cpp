// SPDX-License-Identifier: MIT
#include "remote/GdbClient.h"

#include <algorithm>
#include <charconv>

#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "bits/TextChars.h"
#include "remote/CancelSignal.h"
#include "remote/Endpoint.h"
#include "remote/RemoteText.h"
#include "remote/RspSession.h"
#include "remote/TcpChannel.h"

namespace {

bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

bool IsHexText(std::string_view text) { return ReadHexDigits(text).count == text.size(); }

// A stop reply ("S05", "T05thread:01;", "W00", "X09") or console output
// ("O" and hex text): what a server sends when the target stops or prints,
// never an answer to a query or a memory request.
bool IsStopReply(std::string_view payload) {
    if (payload.size() >= 3 && (payload[0] == 'S' || payload[0] == 'T' || payload[0] == 'W' || payload[0] == 'X')) {
        return IsHexDigit(payload[1]) && IsHexDigit(payload[2]);
    }
    return payload.size() >= 3 && payload[0] == 'O' && payload.size() % 2 == 1 && IsHexText(payload.substr(1));
}

bool IsErrorReply(std::string_view payload) { return payload.size() >= 2 && payload[0] == 'E'; }

// "E01" as it stands in problems; longer texts ("E.message") are kept short.
std::string ErrorCode(std::string_view payload) { return std::string(payload.substr(0, 40)); }

}  // namespace

CGdbClient::CGdbClient(std::chrono::milliseconds timeout) : m_timeout(timeout) {}

CGdbClient::~CGdbClient() { Disconnect(); }

Status CGdbClient::Connect(std::string_view endpoint, const CCancelSignal* cancel) {
    Disconnect();
    const Result<RemoteEndpoint> parsed = ParseRemoteEndpoint(endpoint);
    if (!parsed) return Status::FailureOf(parsed);
    auto channel = CTcpChannel::Open(parsed.Value(), m_timeout, cancel);
    if (!channel) return Status::FailureOf(channel);
    return Start(std::move(channel.Value()));
}

Status CGdbClient::Start(std::unique_ptr<CByteChannel> channel) {
    Disconnect();
    m_where = channel->Where();
    m_session = std::make_unique<CRspSession>(std::move(channel));
    m_session->SetTrace(m_trace.get());
    m_packetSize = kDefaultPacketSize;
    m_noAck = false;
    Status status = Handshake();
    if (!status.Ok()) Disconnect();
    return status;
}

Status CGdbClient::Handshake() {
    // No features of ours are offered: in particular not multiprocess+,
    // which would make the server want "D;pid" instead of a plain 'D'.
    const auto supported = m_session->Exchange(
        "qSupported", [](std::string_view reply) { return !IsStopReply(reply); }, m_timeout, "the handshake");
    if (!supported.Ok()) return Failed(supported.Error());

    bool offersNoAck = false;
    std::string_view features = supported.Value();
    while (!features.empty()) {
        const auto end = std::min(features.find(';'), features.size());
        const std::string_view feature = features.substr(0, end);
        features.remove_prefix(std::min(end + 1, features.size()));
        if (feature == "QStartNoAckMode+") offersNoAck = true;
        if (feature.starts_with("PacketSize=")) {
            const std::string_view digits = feature.substr(11);
            std::uint64_t size = 0;
            const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
            if (error == std::errc::result_out_of_range) size = kMaxPacketSize;
            if (error == std::errc() || error == std::errc::result_out_of_range) {
                m_packetSize = static_cast<std::uint32_t>(
                    std::clamp<std::uint64_t>(size, kMinPacketSize, kMaxPacketSize));
            }
        }
    }

    if (offersNoAck) {
        const auto noAck = m_session->Exchange(
            "QStartNoAckMode", [](std::string_view reply) { return !IsStopReply(reply); }, m_timeout,
            "the handshake");
        if (!noAck.Ok()) return Failed(noAck.Error());
        if (noAck.Value() == "OK") {
            m_session->SetAcknowledging(false);
            m_noAck = true;
        }
    }

    // GDB asks why the target stopped first thing; some servers expect it
    // before memory requests. Its answer (a stop reply) is not needed.
    const auto why = m_session->Exchange(
        "?", [](std::string_view) { return true; }, m_timeout, "the handshake");
    if (!why.Ok()) return Failed(why.Error());
    return Succeeded();
}

Status CGdbClient::Failed(Problem problem) {
    if (m_session && !m_session->InStep()) {
        // The server may still be there (a cancel): let the target run on.
        m_session->SendOnly("D", std::chrono::milliseconds(200));
        m_session.reset();
    }
    return Status::Failure(std::move(problem));
}

Result<std::vector<std::uint8_t>> CGdbClient::ReadMemory(std::uint64_t address, std::uint32_t size) {
    using Bytes = Result<std::vector<std::uint8_t>>;
    if (!m_session) return Bytes::Failure(ProblemCode::kNotConnected, "not connected to a target");
    if (size > 0 && address + (size - 1) < address) {
        return Bytes::Failure(ProblemCode::kOutsideAddressSpace, "cannot read " + RemoteBytesText(size) + " at " + FormatAddress(address) +
                               ": past the end of the address space");
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    for (std::uint32_t done = 0; done < size;) {
        const std::uint32_t chunk = std::min(size - done, MaxReadBytes());
        const Status status = ReadChunk(address + done, chunk, bytes);
        if (!status) return Bytes::FailureOf(status);
        done += chunk;
    }
    return Bytes::Success(std::move(bytes));
}

Status CGdbClient::ReadChunk(std::uint64_t address, std::uint32_t size, std::vector<std::uint8_t>& into) {
    const std::string what = "the read of " + RemoteBytesText(size) + " at " + FormatAddress(address);
    const std::size_t digits = std::size_t{2} * size;
    const auto reply = m_session->Exchange(
        "m" + HexDigitsText(address) + "," + HexDigitsText(size),
        [digits](std::string_view reply) {
            return reply.empty() || IsErrorReply(reply) ||
                   (reply.size() <= digits && reply.size() % 2 == 0 && IsHexText(reply));
        },
        m_timeout, what);
    if (!reply.Ok()) return Failed(reply.Error());
    const std::string& text = reply.Value();
    if (text.size() == digits && IsHexText(text)) {
        for (std::size_t i = 0; i < digits; i += 2) {
            into.push_back(static_cast<std::uint8_t>(ReadHexDigits(text.substr(i, 2)).value));
        }
        return Succeeded();
    }
    const std::string where = RemoteBytesText(size) + " at " + FormatAddress(address);
    if (text.empty()) return Status::Failure(ProblemCode::kNotSupported, "the server at " + m_where + " does not read memory");
    if (IsErrorReply(text)) return Status::Failure(ProblemCode::kTargetError, "the target refused to read " + where + " (" + ErrorCode(text) + ")");
    return Status::Failure(ProblemCode::kShortReply, "the target gave " + std::to_string(text.size() / 2) + " of " + where);
}

Status CGdbClient::WriteMemory(std::uint64_t address, std::span<const std::uint8_t> bytes) {
    if (!m_session) return Status::Failure(ProblemCode::kNotConnected, "not connected to a target");
    const std::uint64_t size = bytes.size();
    if (size > 0 && address + (size - 1) < address) {
        return Status::Failure(ProblemCode::kOutsideAddressSpace, "cannot write " + RemoteBytesText(size) + " at " + FormatAddress(address) +
                                     ": past the end of the address space");
    }
    // "M" address "," length ":" at their longest, and the frame.
    constexpr std::uint32_t kOverhead = 1 + 16 + 1 + 8 + 1 + 4;
    const std::size_t most = (m_packetSize - kOverhead) / 2;
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t chunk = std::min(bytes.size() - done, most);
        const Status status = WriteChunk(address + done, bytes.subspan(done, chunk));
        if (!status.Ok()) return status;
        done += chunk;
    }
    return Succeeded();
}

Status CGdbClient::WriteChunk(std::uint64_t address, std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::string where = RemoteBytesText(bytes.size()) + " at " + FormatAddress(address);
    std::string request = "M" + HexDigitsText(address) + "," + HexDigitsText(bytes.size()) + ":";
    for (const std::uint8_t byte : bytes) {
        request += kHex[byte >> 4];
        request += kHex[byte & 0xF];
    }
    const auto reply = m_session->Exchange(
        request, [](std::string_view reply) { return reply.empty() || reply == "OK" || IsErrorReply(reply); },
        m_timeout, "the write of " + where);
    if (!reply.Ok()) return Failed(reply.Error());
    if (reply.Value() == "OK") return Succeeded();
    if (reply.Value().empty()) return Status::Failure(ProblemCode::kNotSupported, "the server at " + m_where + " does not write memory");
    return Status::Failure(ProblemCode::kTargetError, "the target refused to write " + where + " (" + ErrorCode(reply.Value()) + ")");
}

Result<std::string> CGdbClient::WaitForNotification(std::chrono::milliseconds wait) {
    if (!m_session) return Result<std::string>::Failure(ProblemCode::kNotConnected, "not connected to a target");
    auto notification = m_session->WaitForNotification(RemoteClock::now() + wait);
    if (!m_session->InStep()) m_session.reset();
    return notification;
}

void CGdbClient::Disconnect() {
    if (!m_session) return;
    if (m_session->InStep()) {
        // Waits for the server's answer so the detach is done before the close.
        m_session->Exchange(
            "D", [](std::string_view reply) { return !IsStopReply(reply); },
            std::min(m_timeout, std::chrono::milliseconds(1000)), "the detach");
    }
    m_session.reset();
}
