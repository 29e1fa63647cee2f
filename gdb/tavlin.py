# SPDX-License-Identifier: MIT
"""tavlin inside GDB: `source` this file, then `help tavlin`.

The commands read and write the chip through GDB's own connection, never a
second one. tavlin's program does the reading and printing: each command runs
`tavlin --gdb 127.0.0.1:PORT ...` against a small remote-protocol server this
file serves on a port the system picks, answering the program's memory
requests with GDB's inferior. So `tavlin show` prints exactly what
`tavlin --read` prints. Nothing here resumes, halts, steps or resets the
target, or sets or removes breakpoints.

Only GDB's Python API and the standard library are used; what needs no GDB
lies beside this file in tavlin_support.py. GDB is not thread-safe:
everything that touches GDB runs on GDB's thread. The threads of
tavlin_support (the readers of a run's output, the window's bridge) never
call GDB; the bridge's worker only calls gdb.post_event.
"""

import os
import shlex
import subprocess
import sys

import gdb

# Where this file lies, taken while GDB sources it: __file__ is gone once the sourcing ends.
EXTENSION_DIR = os.path.dirname(os.path.realpath(__file__))
# The GDB-free half lies beside this file.
if EXTENSION_DIR not in sys.path:
    sys.path.insert(0, EXTENSION_DIR)

import tavlin_support as support  # noqa: E402 (found by the folder above)


def tavlin_program(window=False):
    """The tavlin program: $TAVLIN_PROGRAM, the one installed beside this file
    (bin/ of the same prefix), else the one on PATH (support.program_path)."""
    try:
        return support.program_path(EXTENSION_DIR, window)
    except support.Problem as problem:
        raise gdb.GdbError(str(problem)) from None


# ---- GDB's side of the protocol ---------------------------------------------

def answer_memory(payload):
    """Reads or writes memory with GDB's inferior; on GDB's thread only."""
    thread = gdb.selected_thread()
    if thread is None:
        return support.error_reply("no thread to read")
    if thread.is_running():
        return support.error_reply("the target is running")
    try:
        kind, address, length, raw = support.memory_request(payload)
        if kind == "read":
            return bytes(gdb.selected_inferior().read_memory(address, length)).hex().encode("ascii")
        if len(raw) != length:
            return b"E01"
        gdb.selected_inferior().write_memory(address, raw)
        return b"OK"
    except gdb.MemoryError:
        return b"E01"
    except (gdb.error, ValueError) as problem:
        return support.error_reply(problem)


def target_stopped():
    thread = gdb.selected_thread()
    return thread is not None and not thread.is_running()


# ---- The session's map ------------------------------------------------------

class Session:
    """What `tavlin load` chose: the map (or the installed device) and the core, and the map's label
    paths for completion (read once from `tavlin --dump`); and the window's
    bridge while there is one."""

    def __init__(self):
        self.map = None
        self.device = None
        self.core = None
        self.labels = None
        self.bridge = None

    def map_arguments(self):
        if self.map is None and self.device is None:
            raise gdb.GdbError("tavlin: no register map: tavlin load MAP first")
        return support.map_arguments(self.map, self.device, self.core)

    def label_paths(self):
        if self.labels is not None or (self.map is None and self.device is None):
            return self.labels or []
        self.labels = []
        try:
            dump = subprocess.run([tavlin_program(), "--dump"] + self.map_arguments(), capture_output=True,
                                  timeout=30)
        except (OSError, subprocess.TimeoutExpired, gdb.GdbError):
            return self.labels
        self.labels = support.label_paths_of_dump(dump.stdout.decode("utf-8", "replace"))
        return self.labels


# ---- One run of the program against GDB's memory ----------------------------

def serve_program_run(arguments):
    """Runs `tavlin --gdb 127.0.0.1:PORT ARGUMENTS...` and serves its requests
    on GDB's thread until it ends. Returns (exit code, stdout, stderr)."""
    try:
        return support.serve_program_run([tavlin_program()], arguments, answer_memory)
    except support.Problem as problem:
        raise gdb.GdbError(str(problem)) from None


def run_and_print(arguments):
    """Runs the program as serve_program_run does and prints what it printed;
    a failed run ends the command with its last problem, as GDB's own
    commands end (so a script stops there)."""
    code, out, err = serve_program_run(arguments)
    gdb.write(out.decode("utf-8", "replace"))
    lines = err.decode("utf-8", "replace").splitlines()
    if code != 0 and lines:
        for line in lines[:-1]:
            gdb.write(line + "\n", gdb.STDERR)
        raise gdb.GdbError(lines[-1])
    for line in lines:
        gdb.write(line + "\n", gdb.STDERR)
    if code != 0:
        raise gdb.GdbError("tavlin: the program ended with %d" % code)


# ---- The exception frame ----------------------------------------------------

def register_value(name):
    try:
        return int(gdb.parse_and_eval("$" + name)) & 0xFFFFFFFF
    except gdb.error:
        return None


def read_stack(address, length):
    try:
        return bytes(gdb.selected_inferior().read_memory(address, length))
    except (gdb.MemoryError, gdb.error) as problem:
        raise support.Problem(str(problem))


def symbol_for(pc):
    """GDB's name for the code at `pc` (function and line when it knows them), or None."""
    try:
        block = gdb.block_for_pc(pc)
    except RuntimeError:
        block = None
    while block is not None and block.function is None:
        block = block.superblock
    if block is not None:
        line = gdb.find_pc_line(pc)
        where = "%s:%d" % (line.symtab.filename, line.line) if line.symtab else ""
        return block.function.print_name + (" at " + where if where else "")
    try:
        text = gdb.execute("info symbol 0x%x" % pc, to_string=True).strip()
    except gdb.error:
        return None
    return None if text.startswith("No symbol") else text


def exception_frame_text():
    return support.exception_frame_text(register_value, read_stack, symbol_for)


# ---- The window's bridge's events -------------------------------------------

def stop_signal_number(event):
    if isinstance(event, gdb.SignalEvent) and event.stop_signal == "SIGINT":
        return 2
    return 5


def on_stop(event):
    if SESSION.bridge is not None:
        SESSION.bridge.notify(b"Stop:T%02x" % stop_signal_number(event))


def on_cont(_event):
    if SESSION.bridge is not None:
        SESSION.bridge.notify(b"Running:1")


def close_bridge(_event=None):
    if SESSION.bridge is not None:
        SESSION.bridge.close()
        SESSION.bridge = None


# ---- The commands -----------------------------------------------------------

def split_arguments(text):
    try:
        return support.split_words(text)
    except ValueError as problem:
        raise gdb.GdbError("tavlin: %s" % problem)


def complete_labels(text, word):
    """The label paths that begin with the argument being typed (the last of
    `text`), each cut to what GDB replaces: `word` is only the part after the
    last '.', which GDB takes for a word break."""
    typed = "" if not text or text[-1].isspace() else text.split()[-1]
    cut = len(typed) - len(word or "")
    return [path[cut:] for path in SESSION.label_paths() if path.startswith(typed)]


class TavlinCommand(gdb.Command):
    """tavlin's register maps inside GDB: read, write and watch the chip's
    registers through this session's connection.

tavlin load MAP        the register map (an SVD or definitions file)
tavlin load --device NAME[:PROCESSOR]  the map of a device of the installed CMSIS packs
tavlin show NAME...    read registers, sets or addresses and print them as tavlin --read does
tavlin set NAME=VALUE...  write registers as tavlin --write does, and print the read-back
tavlin fault           the fault report and the exception frame the core stacked
tavlin window [MAP]    a tavlin window that reads the chip through this session at every stop
tavlin close           end the window's bridge (the window stays open, offline)"""

    def __init__(self):
        super().__init__("tavlin", gdb.COMMAND_DATA, gdb.COMPLETE_NONE, True)


class LoadCommand(gdb.Command):
    """Choose the register map for this session: tavlin load MAP [--core NAME]
or tavlin load --device NAME[:PROCESSOR] [--core NAME]

MAP is a CMSIS-SVD file or a tavlin definitions file; --device names a device
of the installed CMSIS packs instead (as tavlin --device does: a unique prefix
is enough, a device of several cores takes its processor after a colon), and
later commands pass it on. It is checked with tavlin --check, which prints its
summary and any problem."""

    def __init__(self):
        super().__init__("tavlin load", gdb.COMMAND_DATA, gdb.COMPLETE_FILENAME)

    def invoke(self, argument, from_tty):
        try:
            path, device, core = support.load_choice(split_arguments(argument))
        except support.Problem as problem:
            raise gdb.GdbError(str(problem))
        if path is not None:
            path = os.path.abspath(os.path.expanduser(path))
            if not os.path.isfile(path):
                raise gdb.GdbError("tavlin: cannot open %s" % path)
        what = path if path is not None else device
        try:
            check = subprocess.run([tavlin_program(), "--check"] + support.map_arguments(path, device, core),
                                   capture_output=True, timeout=60)
        except (OSError, subprocess.TimeoutExpired) as problem:
            raise gdb.GdbError("tavlin: cannot check %s: %s" % (what, getattr(problem, "strerror", None) or problem))
        gdb.write(check.stdout.decode("utf-8", "replace"))
        problems = check.stderr.decode("utf-8", "replace")
        # The command line refused (an unknown core, a name of several devices),
        # or no pack gives the device's map: nothing is loaded.
        if check.returncode == 2 or (device is not None and check.returncode != 0 and not check.stdout):
            raise gdb.GdbError(problems.strip() or "tavlin: cannot load %s" % what)
        gdb.write(problems, gdb.STDERR)
        SESSION.map, SESSION.device, SESSION.core, SESSION.labels = path, device, core, None


class ShowCommand(gdb.Command):
    """Read registers through GDB and print them: tavlin show NAME...

NAME is a register's label path (SET.REGISTER), a register set (every register
of it a read does not change) or a register's address 0x.... The lines are
those tavlin --read prints."""

    def __init__(self):
        super().__init__("tavlin show", gdb.COMMAND_DATA)

    def invoke(self, argument, from_tty):
        names = split_arguments(argument)
        if not names:
            raise gdb.GdbError("tavlin: usage: tavlin show NAME...")
        run_and_print(["--read"] + SESSION.map_arguments() + names)

    def complete(self, text, word):
        return complete_labels(text, word)


class SetCommand(gdb.Command):
    """Write registers through GDB: tavlin set NAME=VALUE...

Each register's bytes are written, read back and printed, as tavlin --write
does; a read-only register is refused."""

    def __init__(self):
        super().__init__("tavlin set", gdb.COMMAND_DATA)

    def invoke(self, argument, from_tty):
        items = split_arguments(argument)
        if not items:
            raise gdb.GdbError("tavlin: usage: tavlin set NAME=VALUE...")
        run_and_print(["--write"] + SESSION.map_arguments() + items)

    def complete(self, text, word):
        return [path + "=" for path in complete_labels(text, word)]


class FaultCommand(gdb.Command):
    """The fault report, and the exception frame: tavlin fault

Prints tavlin --fault's report of the map's fault status registers, then the
eight words the core stacked on entering the handler (from the main or the
process stack, as EXC_RETURN in LR says): the faulting PC with GDB's symbol
for it, LR and xPSR."""

    def __init__(self):
        super().__init__("tavlin fault", gdb.COMMAND_STATUS)

    def invoke(self, argument, from_tty):
        if split_arguments(argument):
            raise gdb.GdbError("tavlin: usage: tavlin fault")
        code, out, err = serve_program_run(["--fault"] + SESSION.map_arguments())
        problems = err.decode("utf-8", "replace")
        if code == 2 and "unknown option --fault" in problems:
            problems = "tavlin: this tavlin program has no fault report (--fault)\n"
        gdb.write(out.decode("utf-8", "replace"))
        gdb.write(problems, gdb.STDERR)
        gdb.write(exception_frame_text())


class WindowCommand(gdb.Command):
    """Open a tavlin window bridged to this session: tavlin window [MAP]

The window reads and writes the chip through GDB. At every stop it reads
again the registers in view and the register in hand and marks the bits that
changed since the last stop; while the target runs it says so and reads
nothing. Closing the window leaves GDB as it was; tavlin close, or leaving
GDB, ends the bridge and leaves the window open on its last values."""

    def __init__(self):
        super().__init__("tavlin window", gdb.COMMAND_DATA, gdb.COMPLETE_FILENAME)

    def invoke(self, argument, from_tty):
        words = split_arguments(argument)
        if len(words) > 1:
            raise gdb.GdbError("tavlin: usage: tavlin window [MAP]")
        if words:
            LoadCommand().invoke(shlex.quote(words[0]), from_tty)
        arguments = SESSION.map_arguments()
        if SESSION.bridge is None:
            SESSION.bridge = support.Bridge(gdb.post_event, answer_memory, target_stopped)
        bridge = SESSION.bridge
        if bridge.is_connected():
            raise gdb.GdbError("tavlin: a window is bridged to this session already (tavlin close ends its bridge)")
        try:
            subprocess.Popen([tavlin_program(window=True), "--gdb", bridge.endpoint()] + arguments,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             **support.detached_options())
        except OSError as problem:
            raise gdb.GdbError("tavlin: cannot start the window: %s" % (problem.strerror or problem))
        gdb.write("tavlin: the window reads the chip through %s\n" % bridge.endpoint())


class CloseCommand(gdb.Command):
    """End the window's bridge: tavlin close

The window stays open on its last values, usable offline."""

    def __init__(self):
        super().__init__("tavlin close", gdb.COMMAND_DATA)

    def invoke(self, argument, from_tty):
        close_bridge()


def register():
    """The commands and the event handlers, made once in a GDB session."""
    TavlinCommand()
    LoadCommand()
    ShowCommand()
    SetCommand()
    FaultCommand()
    WindowCommand()
    CloseCommand()
    gdb.events.stop.connect(on_stop)
    gdb.events.cont.connect(on_cont)
    gdb.events.exited.connect(close_bridge)
    if hasattr(gdb.events, "gdb_exiting"):
        gdb.events.gdb_exiting.connect(close_bridge)


# GDB sources every file into the one namespace of its __main__ module, so a
# second sourcing finds the session the first one made (with its map and its
# bridge) and registers nothing again: the commands and handlers made then
# look their functions up by name, so they run this sourcing's code.
try:
    SESSION
except NameError:
    SESSION = Session()
    register()
