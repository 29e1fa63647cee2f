// SPDX-License-Identifier: MIT
#pragma once
// How each core's CMSIS-Core header (core_cm4.h, core_cm33.h, ...) names the
// registers of tavlin's core maps, where that is not the map's own name:
// the register's member in the core's struct ("SHPR" on a Cortex-M7 for the
// map's SHP, "PORT[n].u32" for an ITM port), the struct it is a member of
// when the header leaves it out of its set's (MVFR2 of an Armv8-M Mainline
// FPU is a member of SCB_Type there), the start of its field macros (the
// MPU's alias registers take MPU_RBAR_..., the DWT's comparators
// DWT_FUNCTION_...), a field macro the header spells otherwise, and the
// field macros the header leaves out, whose bits a statement writes as a
// plain number. The facts are a few constant tables a core, read from the
// headers; a map holds nothing more for them.
#include <string>
#include <string_view>

// The member and macro names of a core register, by the name of the core
// (CoreInfo::name: "CM7"), its set's name ("SCB") and its own name without
// any index ("SHP").
struct CoreRegisterHeaderName {
    std::string set;     // the instance it is reached through: "SCB" (the map's set unless the header says otherwise)
    std::string member;  // replaces the register's name: "SHPR"
    std::string after;   // follows the member's index: ".u32" of ITM->PORT[0].u32
    std::string macro;   // the start of its field macros: "MPU_RBAR"
};
CoreRegisterHeaderName CoreRegisterHeaderNameOf(std::string_view core, std::string_view set, std::string_view reg);

// The field macro the core's header defines for the map's `stem`
// ("SCB_ICSR_NMIPENDSET" is SCB_ICSR_PENDNMISET on Armv8-M), without
// _Pos/_Msk; empty when the header has none for it (its bits go in the number).
std::string CoreFieldMacro(std::string_view core, std::string_view stem);

// Whether the core lacks a register its profile's core map has, so that its
// header declares no member for it anywhere (the Cortex-M4's FPU has no
// MVFR2): the tree keeps the profile's register, its statement is a comment.
bool CoreLacksRegister(std::string_view core, std::string_view set, std::string_view reg);
