// SPDX-License-Identifier: MIT
#pragma once
// Memory figures for the benchmarks, read from the C library and the kernel
// so that nothing in the measured code is instrumented.
#include <cstdint>

// Bytes of heap in use: every block handed out by malloc, including its
// bookkeeping overhead and large blocks served by mmap.
std::int64_t HeapInUse();

// Resets the process's peak resident set size to the current size, so a
// later PeakRss() gives the peak since then (false when the kernel refuses).
bool ResetPeakRss();
// Peak and current resident set size in bytes (0 when unknown).
std::int64_t PeakRss();
std::int64_t CurrentRss();
// Page faults the process has taken that needed no reading from disk (each
// a first touch of a fresh page, say), so far.
std::int64_t MinorFaults();
