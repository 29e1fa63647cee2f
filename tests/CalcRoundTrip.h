// SPDX-License-Identifier: MIT
#pragma once
// The calculator's round trip on a whole tree: for every register row, a
// value written into the hex box and split into the field rows composes back
// to the same value masked to the bits the register's field rows hold.
#include <random>

struct CalcRig;

// Checks `valuesPerNotation` values (a few fixed edge values, then random
// ones) for every register row of `rig.tree`, once with every edit field row
// in hex notation and once in decimal, reporting failures through GoogleTest.
// Edit rows are left in decimal notation. Returns the number of registers checked.
int ExpectRoundTripOnEveryRegister(CalcRig& rig, std::mt19937_64& random, int valuesPerNotation);
