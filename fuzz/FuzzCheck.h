// SPDX-License-Identifier: MIT
#pragma once
// A check that holds in every build type (assert is compiled out in the
// optimised fuzz build): prints what failed and aborts, which libFuzzer
// reports as a crash and saves the input for.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
