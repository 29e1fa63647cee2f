// SPDX-License-Identifier: MIT
#pragma once
// Firmwares of a few bytes that make QEMU's Cortex-M cores fault, and a map
// of our own for such a board: its SRAM only, with a <cpu> that names the
// core, so every core register it has is one tavlin added.
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <thread>

#include "remote/GdbClient.h"
#include "tests/QemuBoard.h"

inline std::string BoardMapText(const char* core) {
    return std::string("<device><name>BOARD</name><cpu><name>") + core +
           "</name><endian>little</endian></cpu><addressUnitBits>8</addressUnitBits><width>32</width>"
           "<size>32</size><access>read-write</access><peripherals><peripheral><name>SCRATCH</name>"
           "<baseAddress>0x20000100</baseAddress><registers><register><name>WORD0</name>"
           "<addressOffset>0</addressOffset></register></registers></peripheral></peripherals></device>";
}

// Thumb code at 0x10 after a vector table whose reset vector runs it and
// whose NMI and HardFault vectors go to a branch to itself at 0x40.
inline std::string FaultFirmware(std::initializer_list<std::uint16_t> code,
                                 std::initializer_list<std::uint32_t> literals = {}) {
    std::string image(0x44, '\0');
    const auto put32 = [&image](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) image[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(0x00, 0x20001000);  // the stack in SRAM
    put32(0x04, 0x11);        // reset: the code, in Thumb state
    put32(0x08, 0x41);        // NMI
    put32(0x0C, 0x41);        // HardFault
    std::size_t at = 0x10;
    for (std::uint16_t halfword : code) {
        image[at++] = static_cast<char>(halfword & 0xFF);
        image[at++] = static_cast<char>(halfword >> 8);
    }
    for (std::uint32_t word : literals) put32(at, word), at += 4;
    image[0x40] = '\xFE';  // b .
    image[0x41] = '\xE7';
    return image;
}

// ldr r0, [pc, #4]; ldr r1, [r0]; b .; nop; .word 0x60000010: a load from
// nothing, whose ldr r1 stands at 0x12.
inline std::string BusFaultFirmware() { return FaultFirmware({0x4801, 0x6801, 0xE7FE, 0xBF00}, {0x60000010}); }
// CCR.DIV_0_TRP set, then 1 / 0: ldr r0, =CCR; ldr r1, [r0]; movs r2, #16;
// orrs r1, r2; str r1, [r0]; movs r3, #1; movs r4, #0; udiv r5, r3, r4; b .
inline std::string DivisionFirmware() {
    return FaultFirmware({0x4804, 0x6801, 0x2210, 0x4311, 0x6001, 0x2301, 0x2400, 0xFBB3, 0xF5F4, 0xE7FE},
                         {0xE000ED14});
}
// udf #0
inline std::string UndefinedFirmware() { return FaultFirmware({0xDE00, 0xE7FE}); }

// Waits until the core is in its HardFault handler (ICSR.VECTACTIVE 3).
// QEMU runs the firmware from the start and stops it whenever a debugger
// connects, which may come before the faulting instruction ran; each look
// detaches, which lets it run on. False after ten seconds.
inline bool RunsIntoHardFault(QemuBoard& board) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        CGdbClient client;
        if (board.Connect(client).empty()) {
            const auto icsr = client.ReadMemory(0xE000ED04, 4);
            client.Disconnect();
            if (icsr.Ok() && (icsr.Value()[0] & 0xFF) == 3) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}
