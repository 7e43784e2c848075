#!/usr/bin/env python3
"""Runs one built program as a process and checks what it does at the console.

The program is started from the host, optionally through a launcher (an
emulator such as wine, or a checker such as valgrind), so the same cases hold
for every build of it:

    run_case.py --program calka --case exact_output [--windows] -- [LAUNCHER...] EXE
    run_case.py --program calka --list [--windows]

Every case is one row of CASES below. A row says which programs it applies to,
how standard input and output are connected, what is typed at the paused
program and what must come out. Exit status: 0 the case holds, 1 it does not,
77 the condition cannot be made on this machine (for instance a missing
locale); under CI=true a condition that cannot be made is a failure.
"""

import argparse
import errno
import os
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from dataclasses import dataclass, field

SKIP = 77
# How long a program may take to end, or to show its output (--timeout).
TIMEOUT = 60.0

EXPECTED_LINES = {
    "calka": [
        b"12852.981324",
        b"11894.411551",
        b"11401.318378",
        b"11149.537554",
        b"11021.708180",
        b"10957.085851",
        b"10924.518968",
        b"10908.143733",
        b"10899.923317",
        b"Koncowa wartosc:\t10899.923317",
    ],
    "wartosc": [
        b"Zadana funkcja f(x) w punkcie x=2.5 przyjmuje wartosc 3.079079",
    ],
}
BOTH = ("calka", "wartosc")


class CaseFailed(Exception):
    pass


class CaseSkipped(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


# --- steps typed at a program that waits in its closing pause -------------


@dataclass
class Type:
    data: bytes


@dataclass
class StillRunning:
    seconds: float


@dataclass
class Exits:
    status: int = 0


@dataclass
class Interrupt:
    """Sends SIGINT; the process must die of it."""


# --- the table of cases ----------------------------------------------------


@dataclass
class Case:
    name: str
    programs: tuple
    why: str
    args: tuple = ()
    # Standard input: bytes written then closed; "closed" (no descriptor 0);
    # "open" (a pipe kept open while the script runs).
    stdin: object = b""
    # Standard output: "pipe", "closed", "full" (/dev/full), "broken" (a pipe
    # whose reader is gone), "file", "tty" (a pseudo-terminal, also as input),
    # "console" (a terminal emulator's screen, read as a user sees it).
    stdout: str = "pipe"
    script: tuple = ()
    env: dict = field(default_factory=dict)
    check_output: bool = True
    posix_only: bool = False  # signals and terminals: not under wine
    flat_memory: bool = False  # compare peak RSS with an idle run
    memcheck: bool = False  # run under valgrind memcheck
    left_unread: bytes = None  # tty input that must still be queued at exit


LONG_LINE_MIB = 256

CASES = [
    Case("exact_output", BOTH, "the exact lines, byte for byte, and status 0"),
    Case("arguments_ignored", BOTH, "command-line arguments change nothing",
         args=("-h", "--help", "x y", "100", "0.1")),
    Case("stdin_closed", BOTH, "no standard input at all ends the pause at once",
         stdin="closed"),
    Case("stdin_binary", BOTH, "NUL and 0xFF bytes are ordinary characters",
         stdin=b"\x00\xff\x00abc\xff\n" + b"\x00" * 1000),
    Case("long_line_flat_memory", ("calka",),
         "a line of hundreds of MiB is consumed whole without holding it",
         stdin="long", flat_memory=True),
    Case("long_line_one_char", ("wartosc",),
         "of a line of hundreds of MiB only one character is read",
         stdin="long", flat_memory=True),
    Case("pause_waits_for_newline", ("calka",),
         "typed characters without a newline keep the pause waiting",
         stdin="open",
         script=(Type(b"abc"), StillRunning(0.5), Type(b"\xff\x00"),
                 StillRunning(0.5), Type(b"def\n"), Exits(0))),
    Case("pause_takes_one_char", ("wartosc",),
         "one character ends the pause, with no newline after it",
         stdin="open", script=(Type(b"a"), Exits(0))),
    Case("stdout_closed", BOTH, "a closed standard output still exits with 0",
         stdout="closed", check_output=False),
    Case("stdout_full_device", BOTH, "writes failing on a full device still exit with 0",
         stdout="full", check_output=False),
    Case("stdout_reader_gone", BOTH,
         "a pipe whose reader has gone makes the write fail, not a signal",
         stdout="broken", check_output=False),
    Case("comma_locale", BOTH, "a locale with a decimal comma changes nothing",
         env={"LC_ALL": "pl_PL.UTF-8"}),
    Case("terminal_pause", BOTH,
         "on a terminal every line shows before the pause, which waits for Enter",
         stdout="tty", posix_only=True,
         script=(Type(b"xy"), StillRunning(0.5), Type(b"\n"), Exits(0))),
    Case("console_pause", BOTH,
         "on a console screen every line shows before the pause; typing waits for Enter",
         stdout="console",
         script=(Type(b"xyz"), StillRunning(0.5), Type(b"\n"), Exits(0))),
    Case("pause_crlf_line", ("calka",),
         "a line ending in CR LF ends the pause; a CR alone does not",
         stdin="open",
         script=(Type(b"first\r"), StillRunning(0.5), Type(b"\nsecond\r\n"), Exits(0))),
    Case("terminal_typed_ahead", ("calka",),
         "a second line typed ahead is left unread",
         stdout="tty", posix_only=True,
         script=(Type(b"first\nsecond\n"), Exits(0)), left_unread=b"second\n"),
    Case("interrupt_in_pause", BOTH,
         "SIGINT in the pause ends the process, and the file holds every line",
         stdin="open", stdout="file", posix_only=True, script=(Interrupt(),)),
    Case("memcheck", BOTH, "valgrind memcheck reports nothing", memcheck=True,
         posix_only=True),
]


# --- running a program -----------------------------------------------------


def expected_bytes(program, crlf):
    end = b"\r\n" if crlf else b"\n"
    return b"".join(line + end for line in EXPECTED_LINES[program])


def locale_available(name):
    try:
        listing = subprocess.run(["locale", "-a"], capture_output=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return False
    wanted = name.lower().replace("utf-8", "utf8").encode()
    return wanted in [line.strip().lower() for line in listing.splitlines()]


class Feeder(threading.Thread):
    """Writes standard input in the background; a reader that has gone is fine."""

    def __init__(self, fd, data=None, long_mib=0):
        super().__init__(daemon=True)
        self.fd, self.data, self.long_mib = fd, data, long_mib

    def write_all(self, data):
        view = memoryview(data)
        while view:
            view = view[os.write(self.fd, view):]

    def run(self):
        try:
            if self.long_mib:
                chunk = b"x" * (1 << 20)
                for _ in range(self.long_mib):
                    self.write_all(chunk)
                self.write_all(b"\n")
            else:
                self.write_all(self.data)
        except OSError as error:
            if error.errno != errno.EPIPE:
                raise
        finally:
            os.close(self.fd)


def wait_for_end(run, between_polls):
    """Waits for the program to end, at most TIMEOUT; returns its status."""
    deadline = time.monotonic() + TIMEOUT
    while run.poll() is None:
        if time.monotonic() > deadline:
            run.kill()
            raise CaseFailed(f"the program was still running after {TIMEOUT} s")
        between_polls()
    return run.status


class Run:
    """One started program: its descriptors, its output so far, its end."""

    def __init__(self, command, case):
        self.case = case
        self.output = b""
        self.status = None
        self.out_fd = None  # where the harness reads the program's output
        self.in_fd = None  # where the harness types at the program
        self.tty_slave = None
        self.out_file = None
        child_in, child_out = None, None
        close_in = close_out = False
        feeder = None
        to_close = []

        env = dict(os.environ)
        env.update(case.env)

        if case.stdout == "tty":
            master, slave = os.openpty()
            child_in = child_out = slave
            self.out_fd = self.in_fd = master
            self.tty_slave = slave
        else:
            if case.stdin == "closed":
                close_in = True
            elif case.stdin == "open":
                read_end, self.in_fd = os.pipe()
                child_in = read_end
                to_close.append(read_end)
            else:
                read_end, write_end = os.pipe()
                child_in = read_end
                to_close.append(read_end)
                if case.stdin == "long":
                    feeder = Feeder(write_end, long_mib=LONG_LINE_MIB)
                else:
                    feeder = Feeder(write_end, data=case.stdin)

            if case.stdout == "pipe":
                self.out_fd, child_out = os.pipe()
                to_close.append(child_out)
            elif case.stdout == "closed":
                close_out = True
            elif case.stdout == "full":
                child_out = os.open("/dev/full", os.O_WRONLY)
                to_close.append(child_out)
            elif case.stdout == "broken":
                read_end, child_out = os.pipe()
                os.close(read_end)  # the reader is gone before the program writes
                to_close.append(child_out)
            elif case.stdout == "file":
                self.out_file = tempfile.NamedTemporaryFile(prefix="out-", delete=False)
                child_out = self.out_file.fileno()

        self.err_file = tempfile.TemporaryFile(prefix="err-")

        def close_std():
            # The default disposition of SIGINT, whatever the harness was started with.
            signal.signal(signal.SIGINT, signal.SIG_DFL)
            if close_in:
                os.close(0)
            if close_out:
                os.close(1)

        self.process = subprocess.Popen(
            command + list(case.args),
            stdin=child_in if child_in is not None else subprocess.DEVNULL,
            stdout=child_out if child_out is not None else subprocess.DEVNULL,
            stderr=self.err_file,
            env=env,
            preexec_fn=close_std,
            start_new_session=case.stdout == "tty",
        )
        for fd in to_close:
            os.close(fd)
        if feeder:
            feeder.start()
        if self.out_fd is not None:
            os.set_blocking(self.out_fd, False)

    # Output -----------------------------------------------------------------

    def _read_available(self, wait):
        if self.out_fd is None:
            return
        ready, _, _ = select.select([self.out_fd], [], [], wait)
        if not ready:
            return
        try:
            data = os.read(self.out_fd, 1 << 16)
        except OSError as error:
            if error.errno in (errno.EAGAIN, errno.EIO):  # EIO: tty closed
                return
            raise
        self.output += data

    def current_output(self):
        if self.out_file is not None:
            with open(self.out_file.name, "rb") as f:
                return f.read()
        self._read_available(0)
        return self.output

    def wait_for_output(self, wanted):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if self.out_file is not None:
                if self.current_output() == wanted:
                    return
                time.sleep(0.02)
            else:
                self._read_available(0.05)
                if self.output == wanted:
                    return
            expect(self.poll() is None,
                   "the program ended before its output was complete: "
                   f"{self.current_output()!r}")
        raise CaseFailed(
            f"the output was not complete before the pause: {self.current_output()!r}")

    # The process --------------------------------------------------------------

    def poll(self):
        if self.status is None:
            pid, status = os.waitpid(self.process.pid, os.WNOHANG)
            if pid:
                self.status = os.waitstatus_to_exitcode(status)
                self.process.returncode = self.status
        return self.status

    def kill(self):
        if self.poll() is None:
            self.process.kill()
            while self.poll() is None:
                time.sleep(0.01)

    def _between_polls(self):
        self._read_available(0.02)
        if self.out_fd is None:
            time.sleep(0.02)

    def wait(self):
        wait_for_end(self, self._between_polls)
        # Whatever the program wrote is in the pipe now; a helper process it
        # left behind (wineserver) may hold the pipe open, so read what is
        # there rather than waiting for its end.
        for _ in range(50):
            before = len(self.output)
            self._read_available(0.01)
            if len(self.output) == before:
                break
        return self.status

    def stderr_text(self):
        self.err_file.seek(0)
        return self.err_file.read().decode(errors="replace")

    def type(self, data):
        os.write(self.in_fd, data)

    def close(self):
        if self.out_file is not None:
            os.unlink(self.out_file.name)


class Console:
    """A program on the screen of a terminal emulator (tmux), as a user sees it.

    Some consoles (wine's among them) paint the screen a character at a time
    with escape sequences, so their raw bytes say little; tmux interprets
    them, and capture-pane gives the screen's text. The program runs in a
    tmux server of its own; its exit status is written to a file.
    """

    COLUMNS, ROWS = 100, 40

    def __init__(self, command, case, line_count):
        self.tmux = shutil.which("tmux")
        if not self.tmux:
            raise CaseSkipped("tmux is not installed")
        self.line_count = line_count  # the screen lines the program writes
        self.dir = tempfile.mkdtemp(prefix="console-")
        self.status_file = os.path.join(self.dir, "status")
        self.status = None
        self.last_screen = []
        env = dict(os.environ)
        env.update(case.env)
        shell = (f"{shlex.join(command + list(case.args))}; "
                 f"echo $? > {shlex.quote(self.status_file)}")
        self._tmux("new-session", "-d", "-s", "case", "-x", str(self.COLUMNS),
                   "-y", str(self.ROWS), "sh", "-c", shell, env=env)

    def _tmux(self, *args, env=None):
        return subprocess.run([self.tmux, "-S", os.path.join(self.dir, "socket"), *args],
                              capture_output=True, check=True, env=env).stdout

    def screen(self):
        """The screen's lines; once the program has ended, as it last was."""
        try:
            text = self._tmux("capture-pane", "-p", "-t", "case")
        except subprocess.CalledProcessError:  # the session ended with the program
            return self.last_screen
        self.last_screen = [line.rstrip() for line in text.decode(errors="replace").splitlines()]
        return self.last_screen

    def current_output(self):
        return "\n".join(self.screen()[:self.line_count]).encode()

    def wait_for_output(self, wanted):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if self.current_output() == wanted:
                return
            expect(self.poll() is None,
                   f"the program ended before its output was complete: {self.screen()!r}")
            time.sleep(0.05)
        raise CaseFailed(f"the screen was not complete before the pause: {self.screen()!r}")

    def type(self, data):
        # Enter is a key of its own; everything else is typed as it stands.
        for number, chunk in enumerate(data.split(b"\n")):
            if number:
                self._tmux("send-keys", "-t", "case", "Enter")
            if chunk:
                self._tmux("send-keys", "-t", "case", "-l", chunk.decode())

    def poll(self):
        if self.status is None and os.path.exists(self.status_file):
            with open(self.status_file) as f:
                text = f.read().strip()
            if text:
                self.status = int(text)
        return self.status

    def wait(self):
        return wait_for_end(self, lambda: time.sleep(0.05))

    def kill(self):
        try:
            self._tmux("kill-server")
        except subprocess.CalledProcessError:
            pass

    def stderr_text(self):
        return ""  # standard error shows on the screen

    def close(self):
        self.kill()
        shutil.rmtree(self.dir, ignore_errors=True)


# --- the checks ------------------------------------------------------------


def run_script(run, case):
    for step in case.script:
        if isinstance(step, Type):
            run.type(step.data)
        elif isinstance(step, StillRunning):
            time.sleep(step.seconds)
            expect(run.poll() is None,
                   f"the pause ended {step.seconds} s after {case.script[0]} "
                   "although it had to go on waiting")
        elif isinstance(step, Exits):
            status = run.wait()
            expect(status == step.status, f"exit status {status}, not {step.status}")
        elif isinstance(step, Interrupt):
            run.process.send_signal(signal.SIGINT)
            status = run.wait()
            expect(status == -signal.SIGINT,
                   f"ended with {status}, not by SIGINT ({-signal.SIGINT})")


GNU_TIME = "/usr/bin/time"


def measured(command):
    """The command run under GNU time, which writes the peak RSS to a file.

    The harness cannot read the figure itself: a child forked from Python
    starts its accounting with the whole of Python's memory.
    """
    if not os.access(GNU_TIME, os.X_OK):
        raise CaseSkipped(f"{GNU_TIME} (Debian's time) is not installed")
    report = tempfile.NamedTemporaryFile(prefix="rss-", delete=False)
    report.close()
    return [GNU_TIME, "-q", "-f", "%M", "-o", report.name] + command, report.name


def peak_rss_kib(report):
    with open(report) as f:
        text = f.read().strip()
    os.unlink(report)
    return int(text.splitlines()[-1])


def check_case(case, program, command, crlf, valgrind):
    # A terminal writes each newline as CR LF, like Windows' text mode; a
    # console screen shows the lines with each tab expanded to the next stop.
    wanted = expected_bytes(program, crlf or case.stdout == "tty")
    if case.stdout == "console":
        wanted = b"\n".join(line.expandtabs(8) for line in EXPECTED_LINES[program])

    if "LC_ALL" in case.env and not locale_available(case.env["LC_ALL"]):
        raise CaseSkipped(f"locale {case.env['LC_ALL']} is not generated on this machine")

    if case.memcheck:
        if not valgrind:
            raise CaseSkipped("valgrind is not installed")
        command = [valgrind, "--quiet", "--error-exitcode=99", "--leak-check=full",
                   "--errors-for-leak-kinds=all", "--track-fds=no"] + command

    report = None
    program_command = command
    if case.flat_memory:
        command, report = measured(program_command)

    if case.stdout == "console":
        run = Console(command, case, len(EXPECTED_LINES[program]))
    else:
        run = Run(command, case)
    try:
        if case.script:
            run.wait_for_output(wanted)
            run_script(run, case)
        else:
            status = run.wait()
            expect(status == 0, f"exit status {status}, not 0")
        if case.check_output:
            output = run.current_output()
            if case.stdout == "tty":
                # What came back on the terminal also holds the echo of the typing.
                output = output[:len(wanted)]
            expect(output == wanted, f"output {output!r}\n   wanted {wanted!r}")
        if case.left_unread is not None:
            os.set_blocking(run.tty_slave, False)
            try:
                left = os.read(run.tty_slave, 4096)
            except BlockingIOError:
                left = b""
            expect(left == case.left_unread,
                   f"input left at exit {left!r}, wanted {case.left_unread!r}")
        if case.flat_memory:
            long_kib = peak_rss_kib(report)
            idle_command, idle_report = measured(program_command)
            idle = Run(idle_command, Case("idle", BOTH, "an idle run: empty input"))
            expect(idle.wait() == 0, f"idle run ended with {idle.status}")
            idle_kib = peak_rss_kib(idle_report)
            print(f"peak RSS: idle {idle_kib} KiB, with a {LONG_LINE_MIB} MiB line "
                  f"{long_kib} KiB")
            expect(long_kib <= idle_kib + 2048,
                   f"peak RSS grew from {idle_kib} KiB to {long_kib} KiB")
    except CaseFailed:
        run.kill()
        raise
    finally:
        run.close()
        errors = run.stderr_text()
        if errors.strip():
            print("standard error of the program:\n" + errors)


def applicable(case, program, windows):
    return program in case.programs and not (windows and (case.posix_only or case.memcheck))


def main():
    global TIMEOUT
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, choices=sorted(EXPECTED_LINES))
    parser.add_argument("--case")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--windows", action="store_true",
                        help="a Windows build: CR LF line ends, no signal or terminal cases")
    parser.add_argument("--no-memcheck", action="store_true",
                        help="leave out the valgrind case (sanitized builds)")
    parser.add_argument("--valgrind", default="valgrind")
    parser.add_argument("--timeout", type=float, default=TIMEOUT,
                        help="seconds a program may take to end or to show its output")
    parser.add_argument("command", nargs="*", help="[launcher...] program")
    options = parser.parse_args()

    cases = [c for c in CASES if applicable(c, options.program, options.windows)
             and not (options.no_memcheck and c.memcheck)]
    if options.list:
        print(";".join(c.name for c in cases))
        return 0

    chosen = [c for c in cases if c.name == options.case]
    if not chosen or not options.command:
        parser.error(f"no case {options.case!r} for {options.program}, or no command")
    case = chosen[0]
    TIMEOUT = options.timeout
    valgrind = shutil.which(options.valgrind)

    print(f"{options.program}: {case.name}: {case.why}")
    try:
        check_case(case, options.program, options.command, options.windows, valgrind)
    except CaseSkipped as reason:
        if os.environ.get("CI") == "true":
            print(f"FAILED: cannot be made here, and CI requires it: {reason}")
            return 1
        print(f"SKIPPED: {reason}")
        return SKIP
    except CaseFailed as reason:
        print(f"FAILED: {reason}")
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
