// SPDX-License-Identifier: MIT
#pragma once
// One problem, wherever it arises: reading a register file or a values text,
// talking to a GDB server, reading or writing the chip. A code a caller can
// act on (a cancel is not a timeout, a refusal is not a lost connection),
// where it happened (a file's line and column and the element's path, or an
// address), and the detail in words. The words are for people; code and
// tests look at the code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ProblemCode : std::uint8_t {
    // Reading a file or a text.
    kCannotRead,         // the file cannot be opened or read
    kCannotWrite,        // the file cannot be made or written
    kNotRegularFile,     // a directory, FIFO, device or socket
    kTooLarge,           // beyond the size a file may have
    kNotWellFormed,      // XML that is not well-formed
    kNotThisFormat,      // not the format asked for (no <device>, no definitions file)
    kFormatFault,        // a definitions file's fault, which ends its load
    kMissingPart,        // an element without what it must have (a name, an offset, a bit range)
    kBadValue,           // a number or a text that is not what its element takes
    kOutOfRange,         // a bit range, size or count outside what it may be
    kUnresolved,         // a derivedFrom naming nothing, or coming round in a cycle
    kLimitReached,       // an expansion or a problem count stopped at its limit
    kNotValuesLine,      // a line of a values text that is none of its forms
    kUnknownName,        // a name the map does not have
    kDuplicateName,      // a name another of its level has already, given a suffix
    kValueTooWide,       // a value wider than its register
    kNoFileName,         // a read asked of no file at all

    // The command line's usage.
    kUnknownOption,      // an option tavlin has not, or one the mode has no use for
    kMissingOptionValue, // an option given without its value
    kBadOptionValue,     // an option's value that is not what it takes
    kOptionsClash,       // options that go one at a time
    kWrongArguments,     // too few or too many files and names after the options

    // The connection to a GDB server.
    kBadEndpoint,        // not HOST:PORT
    kHostNotFound,       // the name does not resolve
    kConnectionRefused,
    kCannotConnect,      // any other failure to connect
    kTimedOut,           // the deadline passed first
    kCancelled,          // cancelled from another thread (Escape)
    kConnectionLost,     // the peer closed the stream, or it failed
    kOutOfStep,          // an earlier failure left the stream out of step
    kBadReply,           // damaged, garbled, overlong replies, or too many of them
    kNotSupported,       // the server does not do what was asked (an empty reply)
    kTargetError,        // the target's own error for a request ("E01")
    kShortReply,         // fewer bytes than asked for
    kNotConnected,
    kTargetRunning,      // the target runs, so its memory cannot be reached now

    // A register on the chip.
    kNoAddress,          // the map gives it no address
    kOutsideAddressSpace,
    kReadOnly,           // a write refused: the map marks it read-only
    kWriteOnly,          // a read would give nothing meaningful
    kReadChangesIt,      // a read would change it (an SVD readAction)

    // The installed CMSIS packs and their devices.
    kBadPackDescription, // a .pdsc that is not well-formed or holds no <package>
    kSeveralDevices,     // a device name that answers more than one device
    kSeveralProcessors,  // a multi-core device named without a processor
    kNoSuchDevice,       // no installed pack describes the name
    kNoSuchProcessor,    // the device has no processor of that name
    kSvdMissing,         // the pack names an SVD file it does not hold
    kNoSvdNamed,         // the pack names no SVD file for the device
    // A zip archive (a CMSIS pack) read in place.
    kBadArchive,              // not a zip archive, a damaged or truncated one, a damaged entry (CRC, sizes)
    kArchiveEntryMissing,     // no entry of the name asked for
    kArchiveEntryTooLarge,    // an entry beyond the size asked for, or one that expands a thousandfold
    kUnsafeArchiveEntry,      // an entry named with '..' parts, an absolute path or a drive
    kUnsupportedArchiveEntry, // an encrypted entry, or one compressed in a way not read here
};

// A short, stable name of the code, for logs and test messages: "timed out".
std::string_view ProblemCodeName(ProblemCode code);

struct Problem {
    ProblemCode code = ProblemCode::kBadValue;
    std::string detail;                    // what is wrong, in words: "field has no bit range"
    int line = 0;                          // 1-based line in the file or text; 0 when it has none
    int column = 0;                        // 1-based column, 0 when not known
    std::string path;                      // the element's place, names joined by '.': "TIMER0.CTRL.EN"
    std::optional<std::uint64_t> address;  // the address concerned, where there is one

    // "[PATH: ]DETAIL": the problem without its line.
    std::string Describe() const;
    // "NAME:LINE[:COLUMN]: [PATH: ]DETAIL"; the description alone for a problem without a line.
    std::string Format(std::string_view displayName) const;
    // "line LINE: [PATH: ]DETAIL"; the description alone for a problem without a line.
    std::string AtLine() const;
};

// A problem at no place.
inline Problem MakeProblem(ProblemCode code, std::string detail) {
    Problem problem;
    problem.code = code;
    problem.detail = std::move(detail);
    return problem;
}
