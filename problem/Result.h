// SPDX-License-Identifier: MIT
#pragma once
// What an operation that can fail gives back: its value, or the one problem
// that stopped it. The connection, chip reads and writes return it; nothing
// below the window throws across its API.
#include <utility>
#include <variant>

#include "problem/Problem.h"

// What Text() says of a success.
inline constexpr const char* kNoProblemText = "no problem";

template <typename T>
class Result {
public:
    static Result Success(T value) { return Result(std::in_place_index<0>, std::move(value)); }
    static Result Failure(Problem problem) { return Result(std::in_place_index<1>, std::move(problem)); }
    static Result Failure(ProblemCode code, std::string detail) {
        return Failure(MakeProblem(code, std::move(detail)));
    }
    // Carries another result's problem over (the other must have failed).
    template <typename U>
    static Result FailureOf(const Result<U>& other) {
        return Failure(other.Error());
    }

    bool Ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return Ok(); }
    const T& Value() const { return std::get<0>(m_state); }
    T& Value() { return std::get<0>(m_state); }
    // The problem; only when !Ok().
    const Problem& Error() const { return std::get<1>(m_state); }
    // Whether it failed with `code`: for callers that act on the kind of failure, and for tests.
    bool Failed(ProblemCode code) const { return !Ok() && Error().code == code; }
    // The problem in words ("[PATH: ]DETAIL"); "no problem" for a success,
    // which callers ask with Ok() and never print.
    std::string Text() const { return Ok() ? std::string(kNoProblemText) : Error().Describe(); }

private:
    template <std::size_t I, typename U>
    Result(std::in_place_index_t<I> index, U&& value) : m_state(index, std::forward<U>(value)) {}

    std::variant<T, Problem> m_state;
};

// An operation that gives nothing back but success.
using Status = Result<std::monostate>;

inline Status Succeeded() { return Status::Success({}); }
