// SPDX-License-Identifier: MIT
#pragma once
// HOST:PORT as typed for a GDB server: a name, an IPv4 address, or an IPv6
// address in brackets ("[::1]:1234"), and a port 1..65535.
#include <cstdint>
#include <string>
#include <string_view>

#include "problem/Result.h"

struct RemoteEndpoint {
    std::string host;  // without brackets
    std::uint16_t port = 0;

    // "localhost:3333", "[::1]:1234"
    std::string Text() const;
};

Result<RemoteEndpoint> ParseRemoteEndpoint(std::string_view text);
