// SPDX-License-Identifier: MIT
#pragma once
// A record of every packet sent to and received from a GDB server, one line
// each, in the words GDB itself writes with `set debug remote 1`
// ("[remote] Sending packet: $m20000000,4#8d", "[remote] Packet received:
// 00000000", "[remote] Received Ack"), each after the seconds since the trace
// began. It is what anyone asks for first when a probe's server misbehaves.
#include <chrono>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "problem/Result.h"

class CPacketTrace {
public:
    // A trace written to `out`, which must outlive it.
    explicit CPacketTrace(std::ostream& out);
    // A trace written to the file at `path` (replaced), or a kCannotWrite
    // problem saying why it cannot be made.
    static Result<std::shared_ptr<CPacketTrace>> OpenFile(const std::string& path);

    void Sent(std::string_view framedPacket) { Line("Sending packet: ", framedPacket); }
    void Received(std::string_view payload) { Line("Packet received: ", payload); }
    void ReceivedNotification(std::string_view payload) { Line("Notification received: ", payload); }
    void SentAck() { Line("Sending ack", {}); }
    void SentNak() { Line("Sending nack", {}); }
    void ReceivedAck() { Line("Received Ack", {}); }
    void ReceivedNak() { Line("Received Nak", {}); }

private:
    void Line(std::string_view what, std::string_view bytes);

    std::unique_ptr<std::ofstream> m_file;
    std::ostream* m_out;
    std::chrono::steady_clock::time_point m_start;
};
