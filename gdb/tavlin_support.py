# SPDX-License-Identifier: MIT
"""The half of tavlin's GDB extension that needs no GDB: the program's lookup,
the remote protocol's framing and answers, the label paths of a map, the
exception frame's arithmetic, one run of the program served to its end, and
the window's bridge. What needs GDB (its memory, its thread, its events) is
handed in as functions by tavlin.py, so all of this runs under Python's own
unittest too.

One code path serves POSIX and Windows: the child's output is read by
threads, and the serving loops wait with select() on sockets only (a socket
pair wakes them), which both systems offer.
"""

import os
import shlex
import select
import shutil
import signal
import socket
import struct
import subprocess
import threading
import time

# How long one command's run of the program may take, in seconds.
COMMAND_DEADLINE = 60.0
# How long the bridge's worker waits for GDB's thread to answer one request.
BRIDGE_ANSWER_DEADLINE = 10.0
# The largest packet the server takes (hex), as told in the qSupported reply.
PACKET_SIZE = 0x4000

# The signals GDB handles on its own thread, blocked in the threads started
# here (GDB 13 lacks gdb.block_signals); Windows has none of them to block.
WORKER_BLOCKED_SIGNALS = tuple(getattr(signal, name) for name in
                               ("SIGINT", "SIGCHLD", "SIGALRM", "SIGWINCH", "SIGTERM") if hasattr(signal, name))

# Windows' process-creation flags for a window that outlives GDB's console.
CREATE_NEW_PROCESS_GROUP = 0x00000200
DETACHED_PROCESS = 0x00000008


class Problem(Exception):
    """A failure the command reports (tavlin.py raises it as a gdb.GdbError)."""


# ---- The session's map --------------------------------------------------------

LOAD_USAGE = "tavlin: usage: tavlin load MAP [--core NAME] | tavlin load --device NAME[:PROCESSOR] [--core NAME]"


def load_choice(words):
    """What `tavlin load WORDS` chose: (map, device, core), one of map and
    device None, core None when not named. Raises Problem for a mistake."""
    words = list(words)
    named = {}
    for option, value in (("--core", "NAME"), ("--device", "NAME[:PROCESSOR]")):
        if option in words:
            at = words.index(option)
            if at + 1 >= len(words) or words[at + 1].startswith("--"):
                raise Problem("tavlin: %s needs %s" % (option, value))
            named[option] = words[at + 1]
            del words[at:at + 2]
    device = named.get("--device")
    if device is not None and words:
        raise Problem("tavlin: a MAP and --device go one at a time")
    if any(word.startswith("--") for word in words) or len(words) != (0 if device is not None else 1):
        raise Problem(LOAD_USAGE)
    return (None if device is not None else words[0]), device, named.get("--core")


def map_arguments(map_path, device, core):
    """The program's arguments that name the session's map: the file, or
    --device NAME, after --core NAME when a core is named."""
    arguments = ["--device", device] if device is not None else [map_path]
    return (["--core", core] if core else []) + arguments


# ---- The program ------------------------------------------------------------

def split_words(text, system=None):
    """A command's words, quotes grouping them as a shell's do. On Windows a
    backslash is part of the word (C:\\maps\\chip.svd is a path), elsewhere it
    escapes the character after it. Raises ValueError for an open quote."""
    lexer = shlex.shlex(text, posix=True)
    lexer.whitespace_split = True
    if (system or os.name) == "nt":
        lexer.escape = ""
    return list(lexer)


def program_path(extension_dir, window=False, environ=None, system=None, is_program=None, which=shutil.which):
    """The tavlin program: $TAVLIN_PROGRAM, else the one installed beside the
    extension (bin/ of the same prefix), else the one on PATH. On Windows the
    console commands prefer tavlin.com (which prints to GDB's console) and
    the window takes tavlin.exe."""
    environ = os.environ if environ is None else environ
    system = os.name if system is None else system
    is_program = is_program or (lambda path: is_program_file(path, system))
    given = environ.get("TAVLIN_PROGRAM")
    if given:
        return given
    if system == "nt":
        names = ("tavlin.exe",) if window else ("tavlin.com", "tavlin.exe")
    else:
        names = ("tavlin",)
    bin_dir = os.path.normpath(os.path.join(extension_dir, "..", "..", "..", "bin"))
    for name in names:
        beside = os.path.join(bin_dir, name)
        if is_program(beside):
            return beside
    for name in names:
        found = which(name)
        if found:
            return found
    raise Problem("tavlin: cannot find the tavlin program (set TAVLIN_PROGRAM or put it on PATH)")


def is_program_file(path, system):
    return os.path.isfile(path) and (system == "nt" or os.access(path, os.X_OK))


def detached_options(system=None):
    """subprocess.Popen's options for a window that is no child of GDB's
    session: its own session on POSIX, its own process group and no console
    on Windows (so GDB's Ctrl-C or its exit do not end it)."""
    system = os.name if system is None else system
    if system == "nt":
        return {"creationflags": CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS}
    return {"start_new_session": True}


def start_worker(target, name):
    """A daemon thread running `target`, born with GDB's signals blocked where
    the system has signal masks: they are blocked on the calling thread while
    the new one starts, which inherits them."""
    worker = threading.Thread(target=target, name=name, daemon=True)
    if not hasattr(signal, "pthread_sigmask"):
        worker.start()
        return worker
    previous = signal.pthread_sigmask(signal.SIG_BLOCK, WORKER_BLOCKED_SIGNALS)
    try:
        worker.start()
    finally:
        signal.pthread_sigmask(signal.SIG_SETMASK, previous)
    return worker


def listen_on_loopback():
    """A listening socket on 127.0.0.1 at a port the system picks."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    return listener


def accept_client(listener):
    connection, _ = listener.accept()
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    return connection


# ---- The remote protocol's framing ------------------------------------------

def checksum(data):
    return sum(data) & 0xFF


def frame(payload, mark=b"$"):
    """A packet as sent: $payload#cc (a notification: %payload#cc). The
    payloads sent here are hex, OK, E.text and feature lists: none holds a
    byte that needs escaping."""
    return mark + payload + b"#%02x" % checksum(payload)


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


def memory_request(payload):
    """A memory request's parts: ("read", address, length, None) for m, or
    ("write", address, length, bytes) for M. ValueError when it is malformed."""
    if payload[:1] == b"m":
        address, length = (int(part, 16) for part in payload[1:].split(b","))
        return "read", address, length, None
    place, data = payload[1:].split(b":", 1)
    address, length = (int(part, 16) for part in place.split(b","))
    return "write", address, length, bytes.fromhex(data.decode("ascii"))


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


# ---- The map's label paths --------------------------------------------------

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


# ---- The exception frame ----------------------------------------------------

FRAME_WORDS = ("R0", "R1", "R2", "R3", "R12", "LR", "PC", "xPSR")


def is_exc_return(lr):
    """EXC_RETURN: 0xFFFFFFE1, E9, ED (with a floating-point frame), F1, F9 or FD."""
    return lr is not None and (lr | 0x10) in (0xFFFFFFF1, 0xFFFFFFF9, 0xFFFFFFFD)


def exception_frame_text(register, read_memory, symbol):
    """The frame the core stacked on entry to the handler it is in: the stack
    EXC_RETURN in LR names (bit 2: the process stack, else the main stack),
    and its eight words. `register(name)` is a core register's value or None,
    `read_memory(address, length)` the bytes there (Problem when unreadable),
    `symbol(pc)` the debugger's name for the code at pc or None."""
    lr = register("lr")
    if not is_exc_return(lr):
        shown = "unknown" if lr is None else "0x%08x" % lr
        return "No exception frame: LR %s is no EXC_RETURN (the core is in no handler).\n" % shown
    stack = "psp" if lr & 0x4 else "msp"
    sp = register(stack)
    if sp is None and stack == "msp":
        sp = register("sp")  # in a handler, SP is the main stack pointer
    if sp is None:
        return "No exception frame: GDB knows no $%s register on this target.\n" % stack
    try:
        words = struct.unpack("<8I", bytes(read_memory(sp, 32)))
    except Problem as problem:
        return "No exception frame: cannot read the stack at 0x%08x (%s).\n" % (sp, problem)
    values = dict(zip(FRAME_WORDS, words))
    text = "Exception frame on %s at 0x%08x (EXC_RETURN 0x%08x):\n" % (stack.upper(), sp, lr)
    text += "  " + "  ".join("%s 0x%08x" % (name, values[name]) for name in FRAME_WORDS[:5]) + "\n"
    name = symbol(values["PC"])
    text += "  faulting PC 0x%08x%s\n" % (values["PC"], " in " + name if name else "")
    text += "  LR 0x%08x\n" % values["LR"]
    text += "  xPSR 0x%08x (exception %d)\n" % (values["xPSR"], values["xPSR"] & 0x1FF)
    return text


# ---- One run of the program against GDB's memory ----------------------------

class Wakeup:
    """A socket pair: any thread's wake() makes the reading end readable to
    select() on the serving thread (a pipe is no socket to select() on Windows)."""

    def __init__(self):
        self.reader, self.writer = socket.socketpair()

    def wake(self):
        try:
            self.writer.send(b"x")
        except OSError:
            pass

    def drain(self):
        try:
            self.reader.recv(4096)
        except OSError:
            pass

    def close(self):
        self.reader.close()
        self.writer.close()


class OutputReader:
    """Reads one of the child's output pipes to its end on a thread of its own,
    then wakes the serving loop."""

    def __init__(self, pipe, wakeup):
        self.pipe = pipe
        self.wakeup = wakeup
        self.data = bytearray()
        self.ended = threading.Event()
        self.thread = start_worker(self.read, "tavlin output")

    def read(self):
        try:
            while True:
                chunk = self.pipe.read1(65536) if hasattr(self.pipe, "read1") else self.pipe.read(65536)
                if not chunk:
                    break
                self.data += chunk
        except (OSError, ValueError):
            pass
        finally:
            self.ended.set()
            self.wakeup.wake()


def serve_program_run(program, arguments, memory, deadline=COMMAND_DEADLINE):
    """Runs `PROGRAM --gdb 127.0.0.1:PORT ARGUMENTS...` and serves its requests
    on the calling thread until it ends, memory requests answered by `memory`.
    `program` is a list (an interpreter and its script will do). Returns
    (exit code, stdout, stderr)."""
    listener = listen_on_loopback()
    wakeup = Wakeup()
    port = listener.getsockname()[1]
    try:
        child = subprocess.Popen(list(program) + ["--gdb", "127.0.0.1:%d" % port] + list(arguments),
                                 stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    except OSError as problem:
        listener.close()
        wakeup.close()
        raise Problem("tavlin: cannot run %s: %s" % (program[-1], problem.strerror or problem))
    readers = [OutputReader(child.stdout, wakeup), OutputReader(child.stderr, wakeup)]
    connection = None
    splitter = PacketSplitter()
    ends = time.monotonic() + deadline
    try:
        # The child's output ends when it exits (or closes it): then only its exit is waited for.
        while not all(reader.ended.is_set() for reader in readers):
            left = ends - time.monotonic()
            if left <= 0:
                child.kill()
                raise Problem("tavlin: the program gave no answer within %d s" % deadline)
            waiting = [wakeup.reader, connection or listener]
            ready, _, _ = select.select(waiting, [], [], min(left, 0.5))
            if wakeup.reader in ready:
                wakeup.drain()
            if listener in ready:
                connection = accept_client(listener)
            elif connection is not None and connection in ready:
                data = connection.recv(65536)
                reply = replies_to(data, splitter, memory) if data else None
                if reply:
                    connection.sendall(reply)
                if not data:
                    connection.close()
                    connection = None
                    splitter = PacketSplitter()
        try:
            code = child.wait(max(ends - time.monotonic(), 0.1))
        except subprocess.TimeoutExpired:
            raise Problem("tavlin: the program did not end within %d s" % deadline)
        return code, bytes(readers[0].data), bytes(readers[1].data)
    finally:
        if child.poll() is None:
            child.kill()
            child.wait()
        for reader in readers:
            reader.thread.join(5)
        child.stdout.close()
        child.stderr.close()
        if connection:
            connection.close()
        listener.close()
        wakeup.close()


# ---- The window's bridge ----------------------------------------------------

class Bridge:
    """The window's connection to the session. The worker thread accepts the
    window's connection and reads its requests; each memory request is handed
    to GDB's thread with `post` and the worker waits for the answer, which
    `memory` gives there. GDB's thread tells the window of each stop with the
    notification `%Stop:T05#..` (the remote protocol's notification packet)
    and of each resume with `%Running:1#..`, a notification of tavlin's own:
    the window reads nothing until the next stop. The window answers no
    notification (no vStopped, as a non-stop client would): the bridge keeps
    no queue of stops, each one stands alone. After close() the worker posts
    nothing.

    `post(function)` runs function on GDB's thread later (gdb.post_event);
    `memory(payload)` answers a memory request and `stopped()` says whether
    the target is stopped, both on GDB's thread."""

    def __init__(self, post, memory, stopped, answer_deadline=BRIDGE_ANSWER_DEADLINE):
        self.post = post
        self.memory = memory
        self.stopped = stopped
        self.answer_deadline = answer_deadline
        self.listener = listen_on_loopback()
        self.port = self.listener.getsockname()[1]
        self.wakeup = Wakeup()
        self.closing = threading.Event()
        self.send_lock = threading.Lock()
        self.connection = None
        self.worker = start_worker(self.serve, "tavlin bridge")

    def endpoint(self):
        return "127.0.0.1:%d" % self.port

    # On the worker thread.
    def serve(self):
        splitter = PacketSplitter()
        try:
            while not self.closing.is_set():
                waiting = [self.wakeup.reader, self.connection or self.listener]
                ready, _, _ = select.select(waiting, [], [])
                if self.closing.is_set() or self.wakeup.reader in ready:
                    return
                if self.connection is None:
                    connection = accept_client(self.listener)
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
            if self.stopped():
                self.notify(b"Stop:T05")

        if not self.closing.is_set():
            self.post(run)

    def on_gdb_thread(self, payload):
        """Hands one memory request to GDB's thread and waits for its answer."""
        done = threading.Event()
        result = []

        def run():
            try:
                result.append(b"E.closed" if self.closing.is_set() else self.memory(payload))
            finally:
                done.set()

        if self.closing.is_set():
            return None
        self.post(run)
        ends = time.monotonic() + self.answer_deadline
        while not done.wait(0.1):
            if self.closing.is_set():
                return None
            if time.monotonic() > ends:
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
    def is_connected(self):
        return self.connection is not None

    def notify(self, payload):
        if not self.closing.is_set():
            self.send(frame(payload, b"%"))

    def close(self):
        """Ends the bridge: the worker stops (and posts nothing more), the
        window's connection closes, and the window stays open offline."""
        if self.closing.is_set():
            return
        self.closing.set()
        self.wakeup.wake()
        self.worker.join(5)
        with self.send_lock:
            if self.connection is not None:
                self.connection.close()
                self.connection = None
        self.listener.close()
        self.wakeup.close()
