"""Scenarios of the station on the simulated TM-D710: install, service manager, crashes, boot.
Each is judged from what the radio (rigsim) and the server (relaysim) saw, and from systemctl and
the journal in the guest."""

import re
import time

UNIT = "ivrelane@radio0"
FOLDER = "/var/lib/ivrelane/radio0"
# The status line of a station whose radio answers (not "radio not answering").
READY = "ttyS1 answering, server connected"


def ini(lines):
    """A station configuration as the program writes it (CR LF)."""
    return "[IvrelaneTMD7x0]\r\n" + "".join(line + "\r\n" for line in lines)


def station_ini():
    return ini(["LANGUAGE=E", "MODEL=TMD710", "COM=/dev/ttyS1", "NUMBERMEM=10",
                "IPSERVER=10.0.2.100", "PORT=10901", "CONNECT=1", "RECONNECT=1",
                "CHANNEL=RIGHT", "TXTIMEOUT=300", "WARNING=Y"])


def commands(radio, mark, limit=12):
    """The commands the radio received since mark, in order (for the report)."""
    seen = [text[2:] for _, text in radio.since(mark) if text.startswith("< ")]
    return " ".join(seen[:limit]) + (" ..." if len(seen) > limit else "")


def wait_status(rig, text, timeout=90):
    out, ok = rig.wait_guest(f"systemctl show -p StatusText --value {UNIT}",
                             lambda o: text in o, timeout)
    return out.strip(), ok


def main_pid(rig):
    return int(rig.prop(UNIT, "MainPID") or 0)


def restarts(rig):
    return int(rig.prop(UNIT, "NRestarts") or 0)


def unit_state(rig, unit=UNIT):
    """NRestarts, ActiveState and MainPID of the unit, by name."""
    out = rig.sh(f"systemctl show -p NRestarts -p ActiveState -p MainPID {unit}")[1]
    return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)


def wait_restarted(rig, before, timeout=120):
    """Waits for systemd's next automatic restart to be up and the station ready again (the
    status line of the previous run stays shown until the new one sends its own)."""
    deadline = time.monotonic() + timeout
    while True:
        state = unit_state(rig)
        if (int(state.get("NRestarts", 0)) > before and state.get("ActiveState") == "active"
                and state.get("MainPID", "0") != "0"):
            return wait_status(rig, READY)
        if time.monotonic() > deadline:
            return f"not restarted: {state}", False
        time.sleep(1)


def install(rig, s):
    code, out = rig.sh("cd /mnt/current && apt install -y ./ivrelane_*.deb", timeout=300)
    s.check(code == 0, f"apt install ./ivrelane_*.deb: exit {code}, "
                       f"{'Setting up ivrelane' in out and 'set up' or out[-300:]}")
    groups = rig.sh("id -nG ivrelane")[1].split()
    s.check(all(g in groups for g in ("ivrelane", "dialout", "lp", "plugdev")),
            f"user ivrelane in groups {' '.join(groups)}")
    rig.sh(f"install -d -o ivrelane -g ivrelane -m 0750 {FOLDER}")
    rig.write_file(f"{FOLDER}/Ivrelane.ini", station_ini())
    mark = rig.radio.mark()
    code, out = rig.sh(f"runuser -u ivrelane -- ivrelane --check --folder {FOLDER}")
    s.check(code == 0, f"--check as ivrelane: exit {code}; radio asked: "
                       f"{commands(rig.radio, mark)}")
    mark, smark = rig.radio.mark(), rig.server.mark()
    code, out = rig.sh(f"systemctl enable --now {UNIT}", timeout=180)
    s.check(code == 0, f"systemctl enable --now {UNIT}: exit {code}")
    status, ok = wait_status(rig, READY)
    s.check(ok, f"StatusText: {status!r}")
    rx = rig.radio.received("RX", mark, timeout=1)
    s.check(rx is not None, f"radio received: {commands(rig.radio, mark)}")
    connected = rig.server.wait("^CONNECTED", smark, timeout=1)
    s.check(connected is not None, f"server saw: {connected[1] if connected else 'nothing'}")
    out = rig.sh(f"systemd-analyze security {UNIT} | tail -n 1")[1]
    level = re.search(r"exposure level for \S+: ([0-9.]+)", out)
    exposure = float(level.group(1)) if level else 99
    s.check(exposure <= 2.5, f"systemd-analyze security: {out.strip()}")
    out = rig.sh(f"systemctl status --no-pager -n 0 {UNIT}")[1]
    lines = [l.strip() for l in out.splitlines() if "Active:" in l or "Status:" in l]
    s.check("active (running)" in out and READY in out, "systemctl status: " + " | ".join(lines))


def notify_watchdog(rig, s):
    s.check(rig.prop(UNIT, "Type") == "notify", "Type=notify")
    out = rig.sh(f"journalctl -b -o cat -u {UNIT} --no-pager")[1].splitlines()
    started = next((i for i, l in enumerate(out) if l.startswith("Started ")), None)
    s.check(started is not None and any(l for l in out[:started] if not l.startswith("Start")),
            f"systemd's 'Started' line came after the program's own start-up lines "
            f"({len(out[:started or 0])} lines before it)")
    beat, ok = rig.wait_guest(
        f"systemctl show -p WatchdogTimestampMonotonic -p ActiveEnterTimestampMonotonic "
        f"--value {UNIT}", lambda o: int(o.split()[0] or 0) > int(o.split()[1] or 0), 25)
    s.check(ok, "a heartbeat (WATCHDOG=1) after the start")
    pid, before = main_pid(rig), restarts(rig)
    mark, smark = rig.radio.mark(), rig.server.mark()
    rig.sh(f"kill -STOP {pid}")
    stopped_at = time.time()
    rx = rig.radio.received("RX", mark, timeout=60)
    s.check(rx is not None and 5 < rx - stopped_at < 45,
            f"SIGSTOP: the radio received RX {rx - stopped_at:.1f} s later" if rx
            else "SIGSTOP: the radio never received RX")
    status, ok = wait_restarted(rig, before)
    new_pid = main_pid(rig)
    s.check(ok and new_pid not in (0, pid), f"started again (pid {pid} -> {new_pid}): {status!r}")
    starts = [t for t, text in rig.radio.since(mark) if text == "< RX"]
    s.check(len(starts) >= 2, f"RX at the stop and again at the restart: "
                              f"{', '.join(f'+{t - stopped_at:.1f} s' for t in starts)}")
    s.check(rig.server.wait("^CONNECTED", smark, timeout=1) is not None,
            "the server saw the station connect again")
    journal = rig.sh(f"journalctl -b -o cat -u {UNIT} --no-pager")[1]
    timeout = [l for l in journal.splitlines() if "Watchdog timeout" in l]
    s.check(bool(timeout), f"journal: {timeout[0] if timeout else 'no watchdog line'}")
    s.check("Server connected" in journal, "journal holds the station's log lines "
                                           "('Server connected')")


def crash_while_keyed(rig, s):
    for signal in ("KILL", "SEGV"):
        status, ok = wait_status(rig, READY)
        if not s.check(ok, f"{signal}: station ready before: {status!r}"):
            return
        pid, before = main_pid(rig), restarts(rig)
        mark = rig.radio.mark()
        rig.server.send("TRANSMIT_R")
        keyed = rig.radio.wait(r"^< TX", mark, timeout=20)
        if not s.check(keyed is not None, f"{signal}: TRANSMIT_R keyed the radio "
                                          f"({keyed[1] if keyed else 'no TX'})"):
            return
        mark, smark = rig.radio.mark(), rig.server.mark()
        rig.sh(f"kill -{signal} {pid}")
        killed_at = time.time()
        rx = rig.radio.received("RX", mark, timeout=20)
        s.check(rx is not None and rx - killed_at < 5,
                f"SIG{signal} while keyed: RX {rx - killed_at:.1f} s later" if rx
                else f"SIG{signal} while keyed: no RX")
        status, ok = wait_restarted(rig, before)
        again = rig.server.wait("^CONNECTED", smark, timeout=5)
        s.check(ok and again is not None and main_pid(rig) != pid,
                f"{signal}: restarted and connected to the server again, {status!r}")
        mark = rig.radio.mark()
        rig.server.send("TRANSMIT_R")
        keyed = rig.radio.wait(r"^< TX", mark, timeout=20)
        s.check(keyed is not None, f"{signal}: the next TRANSMIT_R keyed it "
                                   f"({commands(rig.radio, mark)})")
        mark = rig.radio.mark()
        rig.server.send("RECEIVE_R")
        s.check(rig.radio.received("RX", mark, timeout=20) is not None, "RECEIVE_R: RX")
    out = rig.sh(f"journalctl -b -o cat -u {UNIT} --no-pager | grep -E 'code=(killed|dumped)'")[1]
    s.check(out.count("\n") >= 2, "journal: " + " | ".join(out.splitlines()[-2:]))


def boot(rig, s):
    s.check(rig.sh(f"systemctl is-enabled {UNIT}")[1].strip() == "enabled", f"{UNIT} enabled")
    boot_id = rig.sh("cat /proc/sys/kernel/random/boot_id")[1]
    rig.radio.order("silent on")
    mark = rig.radio.mark()
    t0 = time.monotonic()
    rig.vm.reboot(boot_id)
    s.check(True, f"rebooted, guest agent back after {time.monotonic() - t0:.0f} s")
    rig.sh("mount -o ro /dev/vdb /mnt")
    out, ok = rig.wait_guest(f"systemctl is-active {UNIT}", lambda o: o.strip() == "active", 120)
    s.check(ok, f"after boot: {out.strip()}")
    status, ok = wait_status(rig, "radio not answering", timeout=60)
    s.check(ok, f"radio silent: {status!r}")
    silent = [t for t in rig.radio.since(mark) if t[1].startswith("- ")]
    s.check(bool(silent), f"the silent radio was asked {len(silent)} times")
    # A stop while the radio is silent: --reset fails after its wait, the stop does not.
    code, _ = rig.sh(f"systemctl stop {UNIT}", timeout=90)
    time.sleep(7)  # past RestartSec: a restart caused by the failed reset would show now
    state = rig.sh(f"systemctl is-active {UNIT}")[1].strip()
    said = rig.sh(f"journalctl -b -o cat -u {UNIT} --no-pager | grep -i 'does not answer' "
                  "| tail -n 1")[1].strip()
    s.check(code == 0 and state == "inactive" and bool(said),
            f"stopped with the radio silent: exit {code}, {state}; the reset said: {said!r}")
    rig.sh(f"systemctl start {UNIT}", timeout=120)
    mark = rig.radio.mark()
    rig.radio.order("silent off")
    woke = time.monotonic()
    status, ok = wait_status(rig, READY, timeout=90)
    s.check(ok, f"radio answering {time.monotonic() - woke:.0f} s after it woke: {status!r}; "
                f"it received {commands(rig.radio, mark)}")
    journal = rig.sh(f"journalctl -b -o cat -u {UNIT} --no-pager")[1]
    s.check("Server connected" in journal, "this boot's journal holds the station's lines")


PLAN = [
    (1, "install, enable --now, radio and server", install, 1),
    (2, "notify and watchdog", notify_watchdog, 2),
    (3, "crash while keyed", crash_while_keyed, 3),
    (4, "boot", boot, 4),
]
