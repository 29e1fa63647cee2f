// SPDX-License-Identifier: MIT
#include "app/TargetCommandLine.h"

#include <optional>
#include <unordered_set>

#include "app/Decode.h"
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "defs/SvdNumbers.h"
#include "remote/GdbClient.h"
#include "remote/PacketTrace.h"
#include "target/TargetTransfer.h"
#include "target/FaultReport.h"
#include "target/RegisterNames.h"

namespace {

// Everything a run needs: the map, its calculator, and the connection.
struct TargetRun {
    CRegisterMap map;
    NoValueBox hex, decimal;
    CRegisterCalculator calc{map, hex, decimal};
    CGdbClient client;
};

// Reads `registers` and gives them their values; false after printing the problem.
bool ReadInto(TargetRun& run, const std::vector<CRegisterItem*>& registers, std::ostream& err) {
    std::vector<TargetRegister> places;
    for (const CRegisterItem* reg : registers) places.push_back(*TargetRegisterOf(run.map, *reg));
    const auto values = ReadTargetRegisters(run.client, places, run.map.IsBigEndian());
    if (!values.Ok()) {
        err << values.Text() << '\n';
        return false;
    }
    GiveRegisterValues(run.map, run.calc, registers, values.Value(), ValueSource::Target);
    return true;
}

// The registers of the --read names, each once; false after a problem.
bool CollectReads(const CRegisterMap& map, const std::vector<std::string>& names, std::vector<CRegisterItem*>& out,
                  std::ostream& err) {
    bool ok = true;
    std::unordered_set<const CRegisterItem*> seen;
    for (const std::string& name : names) {
        const auto found = FindNamedRegisters(map, name);
        if (!found) {
            err << found.Text() << '\n';
            ok = false;
            continue;
        }
        const NamedRegisters& named = found.Value();
        // A set is read as Shift+F5 reads it; a register named on its own is read as asked.
        std::vector<CRegisterItem*> chosen = named.registers;
        if (named.isSet) {
            const TargetReadSelection selection = SelectForRead(map, named.registers);
            for (const Problem& skipped : selection.skipped) err << skipped.Describe() << ": not read\n";
            chosen = selection.registers;
        } else if (CheckRead(map, *chosen.front()).Failed(ProblemCode::kNoAddress)) {
            err << name << " has no address\n";
            ok = false;
            continue;
        }
        for (CRegisterItem* reg : chosen)
            if (seen.insert(reg).second) out.push_back(reg);
    }
    return ok;
}

bool Connect(TargetRun& run, const TargetRequest& request, std::ostream& err) {
    if (!request.trace.empty()) {
        auto trace = CPacketTrace::OpenFile(request.trace);
        if (!trace) {
            err << trace.Text() << '\n';
            return false;
        }
        run.client.SetTrace(std::move(trace.Value()));
    }
    if (const Status connected = run.client.Connect(request.endpoint); !connected.Ok()) {
        err << connected.Text() << '\n';
        return false;
    }
    return true;
}

// --fault: SCB's fault status read from the chip, told in words.
bool RunFaultReport(TargetRun& run, const TargetRequest& request, std::ostream& out, std::ostream& err) {
    if (!Connect(run, request, err)) return false;
    const auto registers = ReadFaultRegisters(run.client, CoreProfileOf(run.map));
    run.client.Disconnect();
    if (!registers) {
        err << registers.Text() << '\n';
        return false;
    }
    PrintFaultReport(out, run.map, registers.Value());
    return true;
}

struct PlannedWrite {
    CRegisterItem* reg = nullptr;
    std::uint64_t value = 0;
};

bool CollectWrites(const CRegisterMap& map, const std::vector<std::string>& items, std::vector<PlannedWrite>& out,
                   std::ostream& err) {
    bool ok = true;
    for (const std::string& item : items) {
        const auto equals = item.find('=');
        if (equals == std::string::npos) {
            err << "\"" << item << "\" is not NAME=VALUE\n";
            ok = false;
            continue;
        }
        const std::string name = std::string(TrimSvdText(std::string_view(item).substr(0, equals)));
        const auto value = ParseSvdNumber(std::string_view(item).substr(equals + 1));
        const auto named = FindNamedRegisters(map, name);
        if (!named || named.Value().isSet) {
            err << (named ? name + " is a register set, not a register" : named.Text()) << '\n';
            ok = false;
        } else if (!value) {
            err << "\"" << item.substr(equals + 1) << "\" is not a number\n";
            ok = false;
        } else if (!TargetRegisterOf(map, *named.Value().registers.front())) {
            err << name << " has no address\n";
            ok = false;
        } else if (map.AccessOf(*named.Value().registers.front()) == RowAccess::ReadOnly) {
            err << name << " is read-only: not written\n";
            ok = false;
        } else {
            out.push_back({named.Value().registers.front(), *value});
        }
    }
    return ok;
}

}  // namespace

int RunTargetCommand(const TargetRequest& request, std::ostream& out, std::ostream& err) {
    TargetRun run;
    const LoadReport load = LoadMapSource(run.map, request.map, request.core);
    for (const Problem& problem : load.problems.Kept()) err << problem.Format(load.displayName) << '\n';
    if (!load.opened) return 1;
    bool ok = load.Ok();
    if (request.fault) return RunFaultReport(run, request, out, err) && ok ? 0 : 1;

    std::vector<CRegisterItem*> reads;
    std::vector<PlannedWrite> writes;
    ok = (request.write ? CollectWrites(run.map, request.names, writes, err)
                         : CollectReads(run.map, request.names, reads, err)) && ok;
    if (reads.empty() && writes.empty()) return 1;

    if (!Connect(run, request, err)) return 1;
    std::vector<CRegisterItem*> printed;
    for (const PlannedWrite& write : writes) {
        const Status read = CheckRead(run.map, *write.reg);
        const auto held = WriteThenReadBack(run.client, *TargetRegisterOf(run.map, *write.reg), write.value,
                                            run.map.IsBigEndian(), read.Ok());
        if (!held) {
            err << held.Text() << '\n';
            return 1;
        }
        if (!held.Value().readBack) err << read.Text() << ": not read back\n";
        run.calc.SetRegisterValue(*write.reg, held.Value().value, ValueSource::Target);
        printed.push_back(write.reg);
    }
    if (!reads.empty()) {
        if (!ReadInto(run, reads, err)) return 1;
        printed = reads;
    }
    run.client.Disconnect();

    std::unordered_set<const CRegisterItem*> wanted(printed.begin(), printed.end());
    const CRegisterRowDescriber describer(run.map);
    for (const CRegisterItem* reg : run.map.Registers())
        if (wanted.count(reg)) PrintDecodedRegister(out, run.map, describer, *reg, run.map.ValueOf(*reg)->value);
    return ok ? 0 : 1;
}
