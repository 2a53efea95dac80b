"""The host's side of the field test: the simulated TM-D710 (rigsim) behind the guest's
/dev/ttyS1, and the relay server stand-in (relaysim) that the guest reaches at 10.0.2.100."""

import datetime
import os
import re
import subprocess
import threading
import time


class Watch:
    """Lines that arrive from a simulator, with the host's time of each; waits on them."""

    def __init__(self):
        self.lines = []  # (time.time(), text)
        self.cond = threading.Condition()

    def add(self, stamp, text):
        with self.cond:
            self.lines.append((stamp, text))
            self.cond.notify_all()

    def mark(self):
        with self.cond:
            return len(self.lines)

    def since(self, mark):
        with self.cond:
            return list(self.lines[mark:])

    def wait(self, pattern, mark=0, timeout=30):
        """The first line from mark on that matches pattern: (time, text), or None."""
        regex = re.compile(pattern)
        deadline = time.monotonic() + timeout
        with self.cond:
            while True:
                for stamp, text in self.lines[mark:]:
                    if regex.search(text):
                        return stamp, text
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    return None
                self.cond.wait(remaining)


class Rigsim(Watch):
    """rigsim as a TM-D710, its pseudo-terminal bridged by socat to qemu's socket for ttyS1.
    Lines are what rigsim logs: "< CMD" received, "> REPLY" sent, "- CMD (silent)"."""

    def __init__(self, build, work, log):
        super().__init__()
        self.logpath = os.path.join(work, "rigsim.log")
        self.process = subprocess.Popen(
            [os.path.join(build, "rigsim"), "--model", "TMD710", "--memories", "10", "--control",
             "--log", self.logpath], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=log, text=True)
        first = self.process.stdout.readline().split()
        if len(first) != 2 or first[0] != "PTY":
            raise RuntimeError("rigsim did not start")
        self.pty = first[1]
        self.bridge = None
        self.stopping = False
        self.reader = threading.Thread(target=self._follow, daemon=True)
        self.reader.start()

    def connect(self, socket_path, log):
        # qemu keeps the socket's one connection for the whole run, reboots included.
        self.bridge = subprocess.Popen(
            ["socat", f"UNIX-CONNECT:{socket_path}", f"FILE:{self.pty},raw,echo=0"],
            stdout=log, stderr=log)

    def order(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()

    def _follow(self):
        while not os.path.exists(self.logpath):
            time.sleep(0.05)
        with open(self.logpath, encoding="latin-1") as f:
            partial = ""
            while not self.stopping:
                chunk = f.readline()
                if not chunk:
                    time.sleep(0.05)
                    continue
                partial += chunk
                if not partial.endswith("\n"):
                    continue
                line, partial = partial.rstrip("\n"), ""
                try:
                    stamp = datetime.datetime.strptime(line[:23], "%Y-%m-%d %H:%M:%S.%f")
                    self.add(stamp.timestamp(), line[24:])
                except ValueError:
                    self.add(time.time(), line)

    def received(self, command, mark=0, timeout=30):
        """The time the radio received command (exactly), or None."""
        hit = self.wait(r"^[<] " + re.escape(command) + r"$", mark, timeout)
        return hit[0] if hit else None

    def stop(self):
        self.stopping = True
        for p in (self.bridge, self.process):
            if p and p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()


class Relaysim(Watch):
    """relaysim on a free port of 127.0.0.1; qemu's guestfwd runs socat for each connection
    the guest opens to 10.0.2.100:10901. Lines are relaysim's: CONNECTED, RECV, ..."""

    def __init__(self, build, log):
        super().__init__()
        self.process = subprocess.Popen(
            [os.path.join(build, "relaysim"), "--port", "0"], stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=log, text=True, bufsize=1)
        first = self.process.stdout.readline().split()
        if len(first) != 2 or first[0] != "LISTENING":
            raise RuntimeError("relaysim did not start")
        self.port = int(first[1])
        threading.Thread(target=self._follow, daemon=True).start()

    def _follow(self):
        for line in self.process.stdout:
            self.add(time.time(), line.rstrip("\n"))

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
