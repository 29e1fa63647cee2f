// SPDX-License-Identifier: MIT
#include "problem/Problem.h"

std::string_view ProblemCodeName(ProblemCode code) {
    switch (code) {
    case ProblemCode::kCannotRead: return "cannot read";
    case ProblemCode::kCannotWrite: return "cannot write";
    case ProblemCode::kNotRegularFile: return "not a regular file";
    case ProblemCode::kTooLarge: return "too large";
    case ProblemCode::kNotWellFormed: return "not well-formed";
    case ProblemCode::kNotThisFormat: return "not this format";
    case ProblemCode::kFormatFault: return "format fault";
    case ProblemCode::kMissingPart: return "missing part";
    case ProblemCode::kBadValue: return "bad value";
    case ProblemCode::kOutOfRange: return "out of range";
    case ProblemCode::kUnresolved: return "unresolved";
    case ProblemCode::kLimitReached: return "limit reached";
    case ProblemCode::kNotValuesLine: return "not a values line";
    case ProblemCode::kUnknownName: return "unknown name";
    case ProblemCode::kDuplicateName: return "duplicate name";
    case ProblemCode::kValueTooWide: return "value too wide";
    case ProblemCode::kNoFileName: return "no file name";
    case ProblemCode::kUnknownOption: return "unknown option";
    case ProblemCode::kMissingOptionValue: return "missing option value";
    case ProblemCode::kBadOptionValue: return "bad option value";
    case ProblemCode::kOptionsClash: return "options clash";
    case ProblemCode::kWrongArguments: return "wrong arguments";
    case ProblemCode::kBadEndpoint: return "bad endpoint";
    case ProblemCode::kHostNotFound: return "host not found";
    case ProblemCode::kConnectionRefused: return "connection refused";
    case ProblemCode::kCannotConnect: return "cannot connect";
    case ProblemCode::kTimedOut: return "timed out";
    case ProblemCode::kCancelled: return "cancelled";
    case ProblemCode::kConnectionLost: return "connection lost";
    case ProblemCode::kOutOfStep: return "out of step";
    case ProblemCode::kBadReply: return "bad reply";
    case ProblemCode::kNotSupported: return "not supported";
    case ProblemCode::kTargetError: return "target error";
    case ProblemCode::kShortReply: return "short reply";
    case ProblemCode::kNotConnected: return "not connected";
    case ProblemCode::kTargetRunning: return "target running";
    case ProblemCode::kNoAddress: return "no address";
    case ProblemCode::kOutsideAddressSpace: return "outside the address space";
    case ProblemCode::kReadOnly: return "read-only";
    case ProblemCode::kWriteOnly: return "write-only";
    case ProblemCode::kReadChangesIt: return "read changes it";
    case ProblemCode::kBadPackDescription: return "bad pack description";
    case ProblemCode::kSeveralDevices: return "several devices";
    case ProblemCode::kSeveralProcessors: return "several processors";
    case ProblemCode::kNoSuchDevice: return "no such device";
    case ProblemCode::kNoSuchProcessor: return "no such processor";
    case ProblemCode::kSvdMissing: return "SVD missing";
    case ProblemCode::kNoSvdNamed: return "no SVD named";
    case ProblemCode::kBadArchive: return "bad archive";
    case ProblemCode::kArchiveEntryMissing: return "archive entry missing";
    case ProblemCode::kArchiveEntryTooLarge: return "archive entry too large";
    case ProblemCode::kUnsafeArchiveEntry: return "unsafe archive entry";
    case ProblemCode::kUnsupportedArchiveEntry: return "unsupported archive entry";
    }
    return "unknown";
}

std::string Problem::Describe() const { return path.empty() ? detail : path + ": " + detail; }

std::string Problem::Format(std::string_view displayName) const {
    if (line == 0) return Describe();
    std::string out(displayName);
    out += ':' + std::to_string(line);
    if (column > 0) out += ':' + std::to_string(column);
    return out + ": " + Describe();
}

std::string Problem::AtLine() const {
    if (line == 0) return Describe();
    return "line " + std::to_string(line) + ": " + Describe();
}
