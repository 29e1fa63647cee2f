# SPDX-License-Identifier: MIT
"""tavlin inside GDB: `source` this file, then `help tavlin`.

The commands read and write the chip through GDB's own connection, never a
second one. tavlin's program does the reading and printing: each command runs
`tavlin --gdb 127.0.0.1:PORT ...` against a small remote-protocol server this
file serves on a port the system picks, answering the program's memory
requests with GDB's inferior. So `tavlin show` prints exactly what
`tavlin --read` prints. Nothing here resumes, halts, steps or resets the
target, or sets or removes breakpoints.

Only GDB's Python API and the standard library are used. GDB is not
thread-safe: everything that touches GDB runs on GDB's thread; the window's
bridge has one worker thread, which only calls gdb.post_event.
"""

import os
import select
import shlex
import shutil
import signal
import socket
import struct
import subprocess
import threading
import time

import gdb

# How long one command's run of the program may take, in seconds.
COMMAND_DEADLINE = 60.0
# How long the bridge's worker waits for GDB's thread to answer one request.
BRIDGE_ANSWER_DEADLINE = 10.0
# The largest packet the server takes (hex), as told in the qSupported reply.
PACKET_SIZE = 0x4000

# The signals GDB handles on its own thread, blocked in the worker (GDB 13
# lacks gdb.block_signals).
WORKER_BLOCKED_SIGNALS = (signal.SIGINT, signal.SIGCHLD, signal.SIGALRM, signal.SIGWINCH, signal.SIGTERM)


# Where this file lies, taken while GDB sources it: __file__ is gone once the sourcing ends.
EXTENSION_DIR = os.path.dirname(os.path.realpath(__file__))


def tavlin_program():
    """The tavlin program: $TAVLIN_PROGRAM, the one installed beside this file
    (bin/tavlin of the same prefix), else the one on PATH."""
    given = os.environ.get("TAVLIN_PROGRAM")
    if given:
        return given
    beside = os.path.normpath(os.path.join(EXTENSION_DIR, "..", "..", "..", "bin", "tavlin"))
    if os.access(beside, os.X_OK):
        return beside
    found = shutil.which("tavlin")
    if found:
        return found
    raise gdb.GdbError("tavlin: cannot find the tavlin program (set TAVLIN_PROGRAM or put it on PATH)")


# ---- The remote protocol's framing ------------------------------------------

def checksum(data):
    return sum(data) & 0xFF


def frame(payload, mark=b"$"):
    """A packet as sent: $payload#cc (a notification: %payload#cc). The
    payloads sent here are hex, OK, E.text and feature lists: none holds a
    byte that needs escaping."""
    return mark + payload + b"#%02x" % checksum(payload)


class PacketSplitter:
    """Splits the bytes a client sends into packets, acknowledging each while
    acknowledgements are on. A '\\x03' (the client's interrupt) is passed over:
    nothing here halts the target."""

    def __init__(self):
        self.buffer = b""
        self.acknowledging = True
        # The client asked where the target stands ('?', the end of tavlin's handshake).
        self.asked_state = False

    def feed(self, data):
        """The payloads of the whole packets now received, and the bytes to send
        back (acknowledgements)."""
        self.buffer += data
        packets = []
        acks = b""
        while True:
            start = self.buffer.find(b"$")
            if start < 0:
                self.buffer = b""
                break
            end = self.buffer.find(b"#", start)
            if end < 0 or len(self.buffer) < end + 3:
                self.buffer = self.buffer[start:]
                break
            payload = self.buffer[start + 1:end]
            sent = self.buffer[end + 1:end + 3]
            self.buffer = self.buffer[end + 3:]
            good = sent.lower() == b"%02x" % checksum(payload)
            if self.acknowledging:
                acks += b"+" if good else b"-"
            if good:
                packets.append(unescape(payload))
                self.asked_state = self.asked_state or payload == b"?"
        return packets, acks


def unescape(payload):
    out = bytearray()
    escaped = False
    for byte in payload:
        if escaped:
            out.append(byte ^ 0x20)
            escaped = False
        elif byte == 0x7D:
            escaped = True
        else:
            out.append(byte)
    return bytes(out)


def is_memory_request(payload):
    return payload[:1] in (b"m", b"M")


def answer_without_target(payload):
    """The answer to a request that needs nothing of the target, or None for a
    memory request. Requests that would resume, step, halt or set
    breakpoints are answered as unsupported (an empty reply)."""
    if payload.startswith(b"qSupported"):
        return b"PacketSize=%x;QStartNoAckMode+" % PACKET_SIZE
    if payload == b"QStartNoAckMode":
        return b"OK"
    if payload == b"?":
        return b"S05"
    if payload.startswith(b"D"):
        return b"OK"
    if is_memory_request(payload):
        return None
    return b""


def error_reply(text):
    """E.text, which tavlin's client shows in its problem."""
    clean = "".join(c if c.isalnum() or c in " .,:_-" else " " for c in str(text))
    return b"E." + clean[:60].encode("ascii", "replace")


def answer_memory(payload):
    """Reads or writes memory with GDB's inferior; on GDB's thread only."""
    thread = gdb.selected_thread()
    if thread is None:
        return error_reply("no thread to read")
    if thread.is_running():
        return error_reply("the target is running")
    try:
        if payload[:1] == b"m":
            address, length = (int(part, 16) for part in payload[1:].split(b","))
            data = gdb.selected_inferior().read_memory(address, length)
            return bytes(data).hex().encode("ascii")
        place, data = payload[1:].split(b":", 1)
        address, length = (int(part, 16) for part in place.split(b","))
        raw = bytes.fromhex(data.decode("ascii"))
        if len(raw) != length:
            return b"E01"
        gdb.selected_inferior().write_memory(address, raw)
        return b"OK"
    except gdb.MemoryError:
        return b"E01"
    except (gdb.error, ValueError) as problem:
        return error_reply(problem)


# ---- The session's map ------------------------------------------------------

class Session:
    """What `tavlin load` chose: the map and the core, and the map's label
    paths for completion (read once from `tavlin --dump`)."""

    def __init__(self):
        self.map = None
        self.core = None
        self.labels = None
        self.bridge = None

    def map_arguments(self):
        if self.map is None:
            raise gdb.GdbError("tavlin: no register map: tavlin load MAP first")
        arguments = [self.map]
        if self.core:
            arguments = ["--core", self.core] + arguments
        return arguments

    def label_paths(self):
        if self.labels is not None or self.map is None:
            return self.labels or []
        self.labels = []
        try:
            dump = subprocess.run([tavlin_program(), "--dump"] + self.map_arguments(), capture_output=True,
                                  timeout=30)
        except (OSError, subprocess.TimeoutExpired, gdb.GdbError):
            return self.labels
        self.labels = label_paths_of_dump(dump.stdout.decode("utf-8", "replace"))
        return self.labels


def label_paths_of_dump(text):
    """The label paths of the sets and registers `tavlin --dump` lists: each
    row is indented two spaces a level, its kind, then its label."""
    paths = []
    stack = []
    for line in text.splitlines():
        stripped = line.lstrip(" ")
        words = stripped.split(" ", 2)
        if len(words) < 2 or words[0] not in ("set", "register"):
            continue
        level = (len(line) - len(stripped)) // 2
        del stack[level:]
        stack.append(words[1])
        paths.append(".".join(stack))
    return paths


SESSION = Session()


# ---- One run of the program against GDB's memory ----------------------------

def serve_program_run(arguments):
    """Runs `tavlin --gdb 127.0.0.1:PORT ARGUMENTS...` and serves its requests
    on GDB's thread until it ends. Returns (exit code, stdout, stderr)."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    child = subprocess.Popen([tavlin_program(), "--gdb", "127.0.0.1:%d" % port] + arguments,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    output = {child.stdout.fileno(): bytearray(), child.stderr.fileno(): bytearray()}
    pipes = [child.stdout, child.stderr]
    connection = None
    splitter = PacketSplitter()
    deadline = time.monotonic() + COMMAND_DEADLINE
    try:
        # The child's output ends when it exits (or closes it): then only its exit is waited for.
        while pipes:
            left = deadline - time.monotonic()
            if left <= 0:
                child.kill()
                raise gdb.GdbError("tavlin: the program gave no answer within %d s" % COMMAND_DEADLINE)
            waiting = pipes + ([connection] if connection else [listener])
            ready, _, _ = select.select(waiting, [], [], min(left, 0.5))
            for source in ready:
                if source is listener:
                    connection, _ = listener.accept()
                    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
                elif source is connection:
                    if not serve_bytes(connection, splitter):
                        connection.close()
                        connection = None
                        splitter = PacketSplitter()
                else:
                    data = os.read(source.fileno(), 65536)
                    if data:
                        output[source.fileno()] += data
                    else:
                        pipes.remove(source)
        try:
            code = child.wait(max(deadline - time.monotonic(), 0.1))
        except subprocess.TimeoutExpired:
            raise gdb.GdbError("tavlin: the program did not end within %d s" % COMMAND_DEADLINE)
        return code, bytes(output[child.stdout.fileno()]), bytes(output[child.stderr.fileno()])
    finally:
        if child.poll() is None:
            child.kill()
            child.wait()
        child.stdout.close()
        child.stderr.close()
        if connection:
            connection.close()
        listener.close()


def replies_to(data, splitter, memory):
    """The bytes that answer what a client sent (`data`): acknowledgements and
    the replies, memory requests answered by `memory`. None when `memory`
    gives None (the bridge is closing)."""
    packets, out = splitter.feed(data)
    for payload in packets:
        answer = answer_without_target(payload)
        if answer is None:
            answer = memory(payload)
            if answer is None:
                return None
        out += frame(answer)
        if payload == b"QStartNoAckMode":
            splitter.acknowledging = False
    return out


def serve_bytes(connection, splitter):
    """Answers the packets now readable on `connection`; False once it closed."""
    data = connection.recv(65536)
    if not data:
        return False
    reply = replies_to(data, splitter, answer_memory)
    if reply:
        connection.sendall(reply)
    return True


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

FRAME_WORDS = ("R0", "R1", "R2", "R3", "R12", "LR", "PC", "xPSR")


def register_value(name):
    try:
        return int(gdb.parse_and_eval("$" + name)) & 0xFFFFFFFF
    except gdb.error:
        return None


def is_exc_return(lr):
    """EXC_RETURN: 0xFFFFFFE1, E9, ED (with a floating-point frame), F1, F9 or FD."""
    return lr is not None and (lr | 0x10) in (0xFFFFFFF1, 0xFFFFFFF9, 0xFFFFFFFD)


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
    """The frame the core stacked on entry to the handler it is in: the stack
    EXC_RETURN in LR names (bit 2: the process stack, else the main stack),
    and its eight words."""
    lr = register_value("lr")
    if not is_exc_return(lr):
        shown = "unknown" if lr is None else "0x%08x" % lr
        return "No exception frame: LR %s is no EXC_RETURN (the core is in no handler).\n" % shown
    stack = "psp" if lr & 0x4 else "msp"
    sp = register_value(stack)
    if sp is None and stack == "msp":
        sp = register_value("sp")  # in a handler, SP is the main stack pointer
    if sp is None:
        return "No exception frame: GDB knows no $%s register on this target.\n" % stack
    try:
        words = struct.unpack("<8I", bytes(gdb.selected_inferior().read_memory(sp, 32)))
    except (gdb.MemoryError, gdb.error) as problem:
        return "No exception frame: cannot read the stack at 0x%08x (%s).\n" % (sp, problem)
    values = dict(zip(FRAME_WORDS, words))
    text = "Exception frame on %s at 0x%08x (EXC_RETURN 0x%08x):\n" % (stack.upper(), sp, lr)
    text += "  " + "  ".join("%s 0x%08x" % (name, values[name]) for name in FRAME_WORDS[:5]) + "\n"
    symbol = symbol_for(values["PC"])
    text += "  faulting PC 0x%08x%s\n" % (values["PC"], " in " + symbol if symbol else "")
    text += "  LR 0x%08x\n" % values["LR"]
    text += "  xPSR 0x%08x (exception %d)\n" % (values["xPSR"], values["xPSR"] & 0x1FF)
    return text


# ---- The window's bridge ----------------------------------------------------

class Bridge:
    """The window's connection to this session. The worker thread accepts the
    window's connection and reads its requests; each memory request is handed
    to GDB's thread (gdb.post_event) and the worker waits for the answer.
    GDB's thread tells the window of each stop with the notification
    `%Stop:T05#..` (the remote protocol's notification packet) and of each
    resume with `%Running:1#..`, a notification of tavlin's own: the window
    reads nothing until the next stop. The window answers no notification
    (no vStopped, as a non-stop client would): the bridge keeps no queue of
    stops, each one stands alone. After close() the worker posts nothing."""

    def __init__(self):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.wake_read, self.wake_write = os.pipe()
        self.closing = threading.Event()
        self.send_lock = threading.Lock()
        self.connection = None
        self.window = None
        # Blocked on GDB's thread while the worker starts, so it is born with them blocked.
        previous = signal.pthread_sigmask(signal.SIG_BLOCK, WORKER_BLOCKED_SIGNALS)
        try:
            self.worker = threading.Thread(target=self.serve, name="tavlin bridge", daemon=True)
            self.worker.start()
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, previous)

    def endpoint(self):
        return "127.0.0.1:%d" % self.port

    # On the worker thread.
    def serve(self):
        signal.pthread_sigmask(signal.SIG_BLOCK, WORKER_BLOCKED_SIGNALS)
        splitter = PacketSplitter()
        try:
            while not self.closing.is_set():
                waiting = [self.wake_read, self.connection or self.listener]
                ready, _, _ = select.select(waiting, [], [])
                if self.closing.is_set() or self.wake_read in ready:
                    return
                if self.connection is None:
                    connection, _ = self.listener.accept()
                    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
                    splitter = PacketSplitter()
                    with self.send_lock:
                        self.connection = connection
                    continue
                data = self.connection.recv(65536)
                if not data:
                    # The window was closed: wait for the next one.
                    with self.send_lock:
                        self.connection.close()
                        self.connection = None
                    continue
                self.answer(data, splitter)
        except OSError:
            return

    def answer(self, data, splitter):
        reply = replies_to(data, splitter, self.on_gdb_thread)
        if reply:
            self.send(reply)
        if splitter.asked_state:
            splitter.asked_state = False
            self.tell_stopped()

    def tell_stopped(self):
        """A window that has just connected is told of the stop the target is
        at, as of any later one, so it reads what it shows at once."""
        def run():
            thread = gdb.selected_thread()
            if thread is not None and not thread.is_running():
                self.notify(b"Stop:T05")

        if not self.closing.is_set():
            gdb.post_event(run)

    def on_gdb_thread(self, payload):
        """Hands one memory request to GDB's thread and waits for its answer."""
        done = threading.Event()
        result = []

        def run():
            try:
                result.append(b"E.closed" if self.closing.is_set() else answer_memory(payload))
            finally:
                done.set()

        if self.closing.is_set():
            return None
        gdb.post_event(run)
        deadline = time.monotonic() + BRIDGE_ANSWER_DEADLINE
        while not done.wait(0.1):
            if self.closing.is_set():
                return None
            if time.monotonic() > deadline:
                return error_reply("GDB gave no answer")
        return result[0]

    def send(self, data):
        with self.send_lock:
            if self.connection is not None:
                try:
                    self.connection.sendall(data)
                except OSError:
                    pass

    # On GDB's thread.
    def notify(self, payload):
        if not self.closing.is_set():
            self.send(frame(payload, b"%"))

    def close(self):
        """Ends the bridge: the worker stops (and posts nothing more), the
        window's connection closes, and the window stays open offline."""
        if self.closing.is_set():
            return
        self.closing.set()
        os.write(self.wake_write, b"x")
        self.worker.join(5)
        with self.send_lock:
            if self.connection is not None:
                self.connection.close()
                self.connection = None
        self.listener.close()
        os.close(self.wake_read)
        os.close(self.wake_write)


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


gdb.events.stop.connect(on_stop)
gdb.events.cont.connect(on_cont)
gdb.events.exited.connect(close_bridge)
if hasattr(gdb.events, "gdb_exiting"):
    gdb.events.gdb_exiting.connect(close_bridge)


# ---- The commands -----------------------------------------------------------

def split_arguments(text):
    try:
        return shlex.split(text)
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
tavlin show NAME...    read registers, sets or addresses and print them as tavlin --read does
tavlin set NAME=VALUE...  write registers as tavlin --write does, and print the read-back
tavlin fault           the fault report and the exception frame the core stacked
tavlin window [MAP]    a tavlin window that reads the chip through this session at every stop
tavlin close           end the window's bridge (the window stays open, offline)"""

    def __init__(self):
        super().__init__("tavlin", gdb.COMMAND_DATA, gdb.COMPLETE_NONE, True)


class LoadCommand(gdb.Command):
    """Choose the register map for this session: tavlin load MAP [--core NAME]

MAP is a CMSIS-SVD file or a tavlin definitions file. It is checked with
tavlin --check, which prints its summary and any problem."""

    def __init__(self):
        super().__init__("tavlin load", gdb.COMMAND_DATA, gdb.COMPLETE_FILENAME)

    def invoke(self, argument, from_tty):
        words = split_arguments(argument)
        core = None
        if "--core" in words:
            at = words.index("--core")
            if at + 1 >= len(words):
                raise gdb.GdbError("tavlin: --core needs NAME")
            core = words[at + 1]
            del words[at:at + 2]
        if len(words) != 1:
            raise gdb.GdbError("tavlin: usage: tavlin load MAP [--core NAME]")
        path = os.path.abspath(os.path.expanduser(words[0]))
        if not os.path.isfile(path):
            raise gdb.GdbError("tavlin: cannot open %s" % path)
        core = ["--core", core] if core else []
        check = subprocess.run([tavlin_program(), "--check"] + core + [path], capture_output=True, timeout=60)
        gdb.write(check.stdout.decode("utf-8", "replace"))
        problems = check.stderr.decode("utf-8", "replace")
        if check.returncode == 2:  # the command line refused (an unknown core): nothing is loaded
            raise gdb.GdbError(problems.strip() or "tavlin: cannot load %s" % path)
        gdb.write(problems, gdb.STDERR)
        core = core[1] if core else None
        SESSION.map, SESSION.core, SESSION.labels = path, core, None


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
            SESSION.bridge = Bridge()
        bridge = SESSION.bridge
        if bridge.connection is not None:
            raise gdb.GdbError("tavlin: a window is bridged to this session already (tavlin close ends its bridge)")
        subprocess.Popen([tavlin_program(), "--gdb", bridge.endpoint()] + arguments,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                         start_new_session=True)
        gdb.write("tavlin: the window reads the chip through %s\n" % bridge.endpoint())


class CloseCommand(gdb.Command):
    """End the window's bridge: tavlin close

The window stays open on its last values, usable offline."""

    def __init__(self):
        super().__init__("tavlin close", gdb.COMMAND_DATA)

    def invoke(self, argument, from_tty):
        close_bridge()


TavlinCommand()
LoadCommand()
ShowCommand()
SetCommand()
FaultCommand()
WindowCommand()
CloseCommand()
