// SPDX-License-Identifier: MIT
#pragma once
// A two-way byte stream to a GDB server with a deadline on every wait: a TCP
// connection, or bytes in memory for the fuzz target.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "problem/Result.h"

using RemoteClock = std::chrono::steady_clock;
using RemoteDeadline = RemoteClock::time_point;

class CByteChannel {
public:
    virtual ~CByteChannel() = default;
    // Each wait fails with its code alone for the session to put in words:
    // kTimedOut (the deadline passed first), kCancelled (cancelled from
    // another thread) or kConnectionLost (the peer closed the stream, or it failed).
    // Sends all of `bytes`.
    virtual Status Send(std::string_view bytes, RemoteDeadline deadline) = 0;
    // Waits for bytes and stores between 1 and `capacity` of them.
    virtual Status Receive(char* buffer, std::size_t capacity, std::size_t& received, RemoteDeadline deadline) = 0;
    // Where the stream leads, as problems name it: "localhost:3333".
    virtual const std::string& Where() const = 0;
};
