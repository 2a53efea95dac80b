"""The field test's virtual machine: qemu under software emulation, booted straight into the
guest's kernel, its disk an overlay on the cached image (the image itself is never written),
commands run through the guest agent."""

import base64
import json
import os
import socket
import subprocess
import time


class GuestError(Exception):
    pass


class Agent:
    """The qemu guest agent's channel (JSON lines over a Unix socket)."""

    def __init__(self, path):
        self.path = path
        self.sock = None
        self.buffer = b""

    def connect(self, deadline):
        while True:
            try:
                self.close()
                self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                self.sock.connect(self.path)
                # The agent may not be up yet: a sync answered with our number says it is.
                self.sock.sendall(b"\xff")
                token = int(time.time() * 1000) % 1000000
                self.sock.settimeout(2)
                self._send({"execute": "guest-sync-delimited", "arguments": {"id": token}})
                while True:
                    reply = self._read_reply(time.monotonic() + 2, skip_ff=True)
                    if reply.get("return") == token:
                        return
            except (OSError, GuestError, ValueError):
                if time.monotonic() > deadline:
                    raise GuestError("the guest agent did not answer")
                time.sleep(1)

    def close(self):
        if self.sock:
            self.sock.close()
        self.sock = None
        self.buffer = b""

    def _send(self, message):
        self.sock.sendall(json.dumps(message).encode() + b"\n")

    def _read_reply(self, deadline, skip_ff=False):
        while True:
            if skip_ff:
                i = self.buffer.find(b"\xff")
                if i >= 0:
                    self.buffer = self.buffer[i + 1:]
                    skip_ff = False
            end = self.buffer.find(b"\n")
            if end >= 0 and not skip_ff:
                line, self.buffer = self.buffer[:end], self.buffer[end + 1:]
                if line.strip():
                    return json.loads(line)
                continue
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise GuestError("no reply from the guest agent")
            self.sock.settimeout(remaining)
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                raise GuestError("no reply from the guest agent")
            if not chunk:
                raise GuestError("the guest agent's channel closed")
            self.buffer += chunk

    def call(self, command, arguments=None, timeout=30):
        message = {"execute": command}
        if arguments is not None:
            message["arguments"] = arguments
        self._send(message)
        reply = self._read_reply(time.monotonic() + timeout)
        if "error" in reply:
            raise GuestError(f"{command}: {reply['error'].get('desc')}")
        return reply.get("return")


class Vm:
    def __init__(self, image_dir, work, payload, guestfwd, log):
        self.image_dir = image_dir
        self.work = work
        self.payload = payload
        self.guestfwd = guestfwd
        self.log = log
        self.process = None
        self.agent = Agent(os.path.join(work, "qga.sock"))
        self.rig_socket = os.path.join(work, "rig.sock")
        self.console = os.path.join(work, "console.log")

    def start(self):
        overlay = os.path.join(self.work, "overlay.qcow2")
        subprocess.run(["qemu-img", "create", "-q", "-f", "qcow2", "-F", "raw", "-b",
                        os.path.join(self.image_dir, "rootfs.img"), overlay], check=True)
        w = self.work
        command = [
            "qemu-system-x86_64", "-nodefaults", "-display", "none", "-no-user-config",
            "-accel", "tcg,thread=multi", "-cpu", "max", "-smp", "2", "-m", "1024",
            "-kernel", os.path.join(self.image_dir, "vmlinuz"),
            "-initrd", os.path.join(self.image_dir, "initrd.img"),
            "-append", "root=/dev/vda rw console=ttyS0 quiet systemd.show_status=0 "
                       "mitigations=off",
            "-drive", f"file={overlay},if=virtio,format=qcow2,cache=unsafe",
            "-drive", f"file={self.payload},if=virtio,format=raw,readonly=on",
            "-serial", f"file:{self.console}",
            "-chardev", f"socket,id=rig,path={self.rig_socket},server=on,wait=off",
            "-serial", "chardev:rig",
            "-chardev", f"socket,id=qga,path={w}/qga.sock,server=on,wait=off",
            "-device", "virtio-serial-pci",
            "-device", "virtserialport,chardev=qga,name=org.qemu.guest_agent.0",
            "-netdev", f"user,id=net,restrict=on,guestfwd={self.guestfwd}",
            "-device", "virtio-net-pci,netdev=net",
        ]
        self.process = subprocess.Popen(command, stdout=self.log, stderr=self.log,
                                        stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not os.path.exists(self.rig_socket):
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise GuestError("qemu did not start (see qemu.log)")
            time.sleep(0.1)

    def wait_agent(self, timeout=180):
        self.agent.connect(time.monotonic() + timeout)

    def run(self, command, timeout=120, check=False, input_text=None):
        """Runs a shell command in the guest as root: (exit code, standard output and error)."""
        arguments = {"path": "/bin/sh", "arg": ["-c", command], "capture-output": True}
        if input_text is not None:
            arguments["input-data"] = base64.b64encode(input_text.encode()).decode()
        pid = self.agent.call("guest-exec", arguments)["pid"]
        deadline = time.monotonic() + timeout
        while True:
            status = self.agent.call("guest-exec-status", {"pid": pid})
            if status.get("exited"):
                break
            if time.monotonic() > deadline:
                raise GuestError(f"guest command still running after {timeout} s: {command}")
            time.sleep(0.2)
        out = base64.b64decode(status.get("out-data", "")).decode(errors="replace")
        out += base64.b64decode(status.get("err-data", "")).decode(errors="replace")
        code = status.get("exitcode", -status.get("signal", 1))
        if check and code != 0:
            raise GuestError(f"guest command failed ({code}): {command}\n{out}")
        return code, out

    def reboot(self, boot_id, timeout=240):
        """Reboots the guest through systemd and waits for the agent of the next boot (another
        boot_id): the guest agent does not answer a shutdown command."""
        self.agent._send({"execute": "guest-shutdown", "arguments": {"mode": "reboot"}})
        deadline = time.monotonic() + timeout
        while True:
            time.sleep(2)
            self.agent.close()
            try:
                self.agent.connect(deadline)
                if self.run("cat /proc/sys/kernel/random/boot_id", timeout=10)[1] != boot_id:
                    return
            except GuestError:
                if time.monotonic() > deadline:
                    raise

    def stop(self, quick=False):
        if self.process and self.process.poll() is None and not quick:
            try:
                self.agent._send({"execute": "guest-shutdown", "arguments": {"mode": "powerdown"}})
                self.process.wait(timeout=60)
            except (OSError, AttributeError, subprocess.TimeoutExpired):
                pass
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.agent.close()
