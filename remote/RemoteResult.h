// SPDX-License-Identifier: MIT
#pragma once
// What a request to a target gives back: its value, or one line that says
// what went wrong and where. Nothing in remote/ throws across its API.
#include <string>
#include <utility>
#include <variant>

template <typename T>
class RemoteResult {
public:
    static RemoteResult Success(T value) { return RemoteResult(std::in_place_index<0>, std::move(value)); }
    static RemoteResult Failure(std::string problem) { return RemoteResult(std::in_place_index<1>, std::move(problem)); }

    bool Ok() const { return m_state.index() == 0; }
    const T& Value() const { return std::get<0>(m_state); }
    T& Value() { return std::get<0>(m_state); }
    // Empty when Ok().
    const std::string& Problem() const {
        static const std::string kNone;
        return Ok() ? kNone : std::get<1>(m_state);
    }

private:
    template <std::size_t I, typename U>
    RemoteResult(std::in_place_index_t<I> index, U&& value) : m_state(index, std::forward<U>(value)) {}

    std::variant<T, std::string> m_state;
};

// A request that gives nothing back but success.
using RemoteStatus = RemoteResult<std::monostate>;

inline RemoteStatus RemoteSuccess() { return RemoteStatus::Success({}); }
