// SPDX-License-Identifier: MIT
#include "remote/Endpoint.h"

#include <charconv>

std::string RemoteEndpoint::Text() const {
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

Result<RemoteEndpoint> ParseRemoteEndpoint(std::string_view text) {
    auto problem = [&] {
        return Result<RemoteEndpoint>::Failure(ProblemCode::kBadEndpoint, "HOST:PORT expected, not \"" + std::string(text) + "\"");
    };
    RemoteEndpoint endpoint;
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') return problem();
        endpoint.host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const auto colon = text.rfind(':');
        if (colon == std::string_view::npos) return problem();
        endpoint.host = text.substr(0, colon);
        // An IPv6 address without brackets cannot be told from its port.
        if (endpoint.host.find(':') != std::string::npos) return problem();
        port = text.substr(colon + 1);
    }
    unsigned number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (endpoint.host.empty() || port.empty() || error != std::errc() || end != port.data() + port.size() ||
        number == 0 || number > 65535) {
        return problem();
    }
    endpoint.port = static_cast<std::uint16_t>(number);
    return Result<RemoteEndpoint>::Success(std::move(endpoint));
}
