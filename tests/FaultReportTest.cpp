// SPDX-License-Identifier: MIT
// The fault report's words for the SCB values a core leaves behind: the
// faults QEMU's Cortex-M4 gives (measured there with GDB), the faulting
// address only where its valid bit says so, and the cores that keep no
// fault status.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "target/FaultReport.h"

namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kCortexM4 = 0x410FC241, kCortexM0 = 0x410CC200;

TEST(FaultReport, OneLineForEachStatusBitSetThenTheActiveException) {
    const char* const forced =
        "FORCED: forced hard fault: a configurable fault escalated, its handler disabled or unable to run";
    const struct {
        const char* fault;
        FaultRegisters registers;
        std::optional<CoreProfile> profile;
        Lines lines;
    } cases[] = {
        {"a load from an unmapped address",
         {kCortexM4, 0x00000803, 0x00000000, 0x00008200, 0x40000000, 0, 0xE000ED34, 0x60000010}, std::nullopt,
         {"PRECISERR: precise data bus error at 0x60000010",
          "BFARVALID: BFAR holds the address of the bus fault, 0x60000010",
          std::string(forced) + " (SHCSR enables no configurable fault handler)", "active exception: HardFault (3)"}},
        {"a precise bus error whose BFAR is not valid gives no address",
         {kCortexM4, 0x00000805, 0x00020000, 0x00000200, 0, 0, 0, 0x12345678}, std::nullopt,
         {"PRECISERR: precise data bus error", "active exception: BusFault (5)"}},
        {"a division by zero trapped",
         {kCortexM4, 0x00000803, 0, 0x02000000, 0x40000000, 0, 0, 0}, CoreProfile::Armv7M,
         {"DIVBYZERO: division by zero with CCR.DIV_0_TRP set",
          std::string(forced) + " (SHCSR enables no configurable fault handler)", "active exception: HardFault (3)"}},
        {"an undefined instruction, with the handlers SHCSR enables named",
         {kCortexM4, 0x00000803, 0x00070000, 0x00010000, 0x40000000, 0, 0, 0}, std::nullopt,
         {"UNDEFINSTR: undefined instruction",
          std::string(forced) + " (SHCSR enables MemManage, BusFault, UsageFault)",
          "active exception: HardFault (3)"}},
        {"a data access violation at the address MMFAR holds",
         {kCortexM4, 0x00000804, 0x00010000, 0x00000082, 0, 0, 0x20008000, 0}, std::nullopt,
         {"DACCVIOL: data access violation: a load or store the MPU forbids at 0x20008000",
          "MMARVALID: MMFAR holds the address of the memory management fault, 0x20008000",
          "active exception: MemManage (4)"}},
        {"a stack overflow on Armv8-M Mainline",
         {0x410FD210, 0x00000806, 0, 0x00100000, 0, 0, 0, 0}, CoreProfile::Armv8MMainline,
         {"STKOF: stack overflow: a stack pointer went below its limit", "active exception: UsageFault (6)"}},
        {"a debug event escalated names the event from DFSR",
         {kCortexM4, 0x00000803, 0, 0, 0x80000000, 0x00000002, 0, 0}, std::nullopt,
         {"DEBUGEVT: debug event with no debugger to take it (a breakpoint or watchpoint)",
          "BKPT: a breakpoint instruction or a breakpoint unit match", "active exception: HardFault (3)"}},
        {"DFSR alone only tells how the debugger halted the core",
         {kCortexM4, 0x00000000, 0, 0, 0, 0x00000001, 0, 0}, std::nullopt,
         {"no fault: CFSR and HFSR are clear", "active exception: none, Thread mode (0)"}},
        {"a clean core in an interrupt handler",
         {kCortexM4, 0x00000025, 0, 0, 0, 0, 0, 0}, std::nullopt,
         {"no fault: CFSR and HFSR are clear", "active exception: IRQ 21 (37)"}},
        {"Armv6-M keeps no fault status, as CPUID tells",
         {kCortexM0, 0x00000803, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
         std::nullopt,
         {"no fault status: an Armv6-M or Armv8-M Baseline core keeps none; every fault is a HardFault",
          "active exception: HardFault (3)"}},
        {"or as the map's core tells, when CPUID was not given",
         {std::nullopt, 0x00000803, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
         CoreProfile::Armv8MBaseline,
         {"no fault status: an Armv6-M or Armv8-M Baseline core keeps none; every fault is a HardFault",
          "active exception: HardFault (3)"}},
        {"nothing given", {}, std::nullopt, {"fault status not known: CFSR and HFSR were not given"}},
    };
    for (const auto& c : cases) EXPECT_EQ(FaultReportLines(c.registers, c.profile), c.lines) << c.fault;
}

}  // namespace
