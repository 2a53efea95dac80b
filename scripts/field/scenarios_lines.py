"""Scenarios of the generic transmitter on a simulated CM108 (a uhid device in the guest, so a
real /dev/hidrawN reached through udev), of GPIO lines, and of the package's upgrade and
removal."""

import re
import time

from scenarios import FOLDER, READY, UNIT, commands, ini, main_pid, wait_status

LINES = "ivrelane@lines0"
LINES_FOLDER = "/var/lib/ivrelane/lines0"
CONTROL = "/run/cm108.ctl"
REPORTS = "/run/cm108.log"
PTT, UP, DOWN, RESET = 0x04, 0x01, 0x02, 0x08


def lines_ini():
    return ini(["LANGUAGE=E", "MODEL=TX16UD", "LINES=CM108", "LINESDEVICE=/dev/ivrelane-lines",
                "LINESMAP=1,2,4,3,VOLDN", "DELAYPIN14=200", "DELAYPIN1=300", "DELAYPIN16=600",
                "CHANNELNUMTX16=16", "BASECHANNELTX16=8", "TEMPOTX16=700", "OPTITX16=Y",
                "IPSERVER=10.0.2.100", "PORT=10901", "CONNECT=1", "RECONNECT=1",
                "CHANNEL=RIGHT", "TXTIMEOUT=300", "WARNING=Y",
                "DTMF_CODE=30 : action 30= Start scanning (TMD700/Generic)",
                "DTMF_CODE=31 : action 31= Stop scanning (TMD700/Generic)",
                "DTMF_CODE=32 : action 32= UP (Generic)",
                "DTMF_CODE=33 : action 33= DOWN (Generic)",
                "DTMF_CODE=34 : action 34= RESET (Generic)"])


class Reports:
    """The simulated interface's log: output reports (time in ms, data byte, direction byte)
    and the other events, as uhid-cm108 wrote them."""

    def __init__(self, rig):
        self.rig = rig

    def read(self):
        events = []
        for line in self.rig.sh(f"cat {REPORTS}")[1].splitlines():
            parts = line.split()
            if len(parts) >= 2 and parts[1].isdigit():
                events.append((parts[0], int(parts[1]), [int(b, 16) for b in parts[2:]]))
        return events

    def outputs(self, events):
        # Report id 0 then the 4 bytes: 0, data, direction, 0.
        return [(t, b[2], b[3]) for kind, t, b in events if kind == "OUT" and len(b) == 5]

    def wait(self, predicate, timeout=20):
        deadline = time.monotonic() + timeout
        while True:
            events = self.read()
            found = predicate(events)
            if found or time.monotonic() > deadline:
                return events, found
            time.sleep(0.5)

    def count(self):
        return len(self.read())


def pulses(outputs, bit):
    """(start ms, length ms) of each pulse of bit in the output reports."""
    found, since = [], None
    for t, data, _ in outputs:
        if data & bit and since is None:
            since = t
        elif not data & bit and since is not None:
            found.append((since, t - since))
            since = None
    return found


def journal_has(rig, unit, pattern, timeout=30):
    out, ok = rig.wait_guest(f"journalctl -b -o cat -u {unit} --no-pager",
                             lambda o: re.search(pattern, o) is not None, timeout)
    found = re.search(pattern, out)
    return found.group(0) if found else None


def cm108(rig, s):
    rig.sh(f"systemctl stop {UNIT}", timeout=90)
    readme = rig.sh("grep -o 'SUBSYSTEM==\"hidraw\".*' /usr/share/doc/ivrelane/README.md")[1]
    rule = readme.strip().splitlines()[0] if readme.strip() else ""
    if not s.check(bool(rule), f"the README's udev rule: {rule}"):
        return
    rig.write_file("/etc/udev/rules.d/60-ivrelane-lines.rules", rule + "\n", "root:root")
    rig.sh("udevadm control --reload")
    rig.sh(f"rm -f {REPORTS}; systemd-run --unit=cm108sim --collect "
           f"/mnt/uhid-cm108 {CONTROL} {REPORTS}")
    out, ok = rig.wait_guest("udevadm settle; ls -lL /dev/ivrelane-lines",
                             lambda o: "plugdev" in o and o.startswith("crw-rw----"), 20)
    if not s.check(ok, f"/dev/ivrelane-lines: {out.strip()}"):
        rig.sh("ls -l /dev/hidraw*; udevadm info /dev/hidraw0 | head -30")
        return
    rig.sh(f"install -d -o ivrelane -g ivrelane -m 0750 {LINES_FOLDER}")
    rig.write_file(f"{LINES_FOLDER}/Ivrelane.ini", lines_ini())
    code, out = rig.sh(f"runuser -u ivrelane -- ivrelane --check --folder {LINES_FOLDER}")
    s.check(code == 0, f"--check as ivrelane (no root): exit {code}"
                       + ("" if code == 0 else f": {out[-300:]}"))
    reports = Reports(rig)
    smark = rig.server.mark()
    rig.sh(f"systemctl start {LINES}", timeout=120)
    out, ok = rig.wait_guest(f"systemctl show -p StatusText --value {LINES}",
                             lambda o: "lines OK, server connected" in o, 60)
    s.check(ok, f"StatusText: {out.strip()!r}")
    rig.server.wait("^CONNECTED", smark, timeout=10)
    events, first = reports.wait(lambda e: reports.outputs(e), 10)
    first = reports.outputs(events)[:1]
    s.check(bool(first) and first[0][1] == 0 and first[0][2] == 0x0F,
            f"first output report: data {first[0][1]:02x} direction {first[0][2]:02x}"
            if first else "no output report")

    def after(n, predicate):
        return reports.wait(lambda e: predicate(reports.outputs(e)[n:]), 20)

    n = len(reports.outputs(reports.read()))
    rig.server.send("TRANSMIT_R")
    _, keyed = after(n, lambda o: any(d & PTT for _, d, _ in o))
    rig.server.send("RECEIVE_R")
    _, rest = after(n, lambda o: any(d & PTT for _, d, _ in o) and not o[-1][1] & PTT)
    s.check(bool(keyed) and bool(rest), "TRANSMIT_R/RECEIVE_R: PTT (GPIO3) "
                                        f"{'set' if keyed else 'never set'}, "
                                        f"{'then cleared' if rest else 'not cleared'}")
    for code, bit, name, length in (("32", UP, "UP", 200), ("33", DOWN, "DOWN", 300),
                                    ("34", RESET, "RESET", 600)):
        n = len(reports.outputs(reports.read()))
        rig.server.send(code)
        events, done = after(n, lambda o: pulses(o, bit))
        seen = pulses(reports.outputs(events)[n:], bit)
        s.check(bool(seen) and length - 5 <= seen[0][1] <= length + 300,
                f"DTMF {code}: {name} pulse of {seen[0][1]} ms (set {length})" if seen
                else f"DTMF {code}: no {name} pulse")

    n = len(reports.outputs(reports.read()))
    rig.server.send("30")
    events, _ = after(n, lambda o: len(pulses(o, UP)) >= 2)
    scanning = pulses(reports.outputs(events)[n:], UP)
    s.check(len(scanning) >= 2, f"DTMF 30: scanning, UP pulses every "
                                f"{scanning[1][0] - scanning[0][0] if len(scanning) > 1 else '?'}"
                                " ms")
    rig.sh(f"echo 'in 02' > {CONTROL}")
    events = reports.read()
    squelch = max(t for kind, t, _ in events if kind == "IN")
    # The squelch open for three scanning periods: a step already due as it opened may still
    # come (the report reaches the station through the emulated machine), none after that.
    period = scanning[1][0] - scanning[0][0] if len(scanning) > 1 else 900
    time.sleep(3 * period / 1000)
    events, _ = reports.wait(lambda e: False, 0)
    late = [p for p in pulses(reports.outputs(events), UP) if p[0] > squelch + period]
    s.check(not late, f"squelch open (VOLDN pressed): {len(late)} UP pulses after it")
    rig.server.send("31")
    rig.sh(f"echo 'in 00' > {CONTROL}")

    n = len(reports.outputs(reports.read()))
    rig.server.send("TRANSMIT_R")
    after(n, lambda o: any(d & PTT for _, d, _ in o))
    rig.sh(f"echo unplug > {CONTROL}")
    lost = journal_has(rig, LINES, r"Lines \S+ lost")
    s.check(bool(lost), f"unplugged while keyed: journal {lost!r}")
    rig.sh(f"echo plug > {CONTROL}")
    back = journal_has(rig, LINES, r"Lines \S+ back")
    s.check(bool(back), f"plugged again: journal {back!r}")
    events, _ = reports.wait(lambda e: any(
        k == "PLUGGED" for k, _, _ in e[1:]) and any(d & PTT for _, d, _ in reports.outputs(
            e[next(i for i, x in enumerate(e) if x[0] == "UNPLUGGED"):])), 20)
    cut = max(i for i, x in enumerate(events) if x[0] == "PLUGGED")
    again = reports.outputs(events[cut:])
    s.check(len(again) >= 2 and not again[0][1] & PTT and again[-1][1] & PTT,
            "after the return: " + ", ".join(f"{d:02x}/{r:02x}" for _, d, r in again[:4])
            + " (data/direction: at rest first, then PTT keyed again)")
    rig.server.send("RECEIVE_R")
    rig.sh(f"systemctl stop {LINES}; systemctl stop cm108sim", timeout=90)


def gpio(rig, s):
    s.skip("Debian 12's kernel has no gpio-sim module; building it out of tree from "
           "linux-source is not done by this rig yet")


def upgrade_and_removal(rig, s):
    smark, mark = rig.server.mark(), rig.radio.mark()
    rig.sh(f"systemctl start {UNIT}", timeout=120)
    status, ok = wait_status(rig, READY)
    pid = main_pid(rig)
    s.check(ok, f"{UNIT} running (pid {pid}): {status!r}")
    before = rig.sh(f"ls {FOLDER}")[1].split()
    mark, smark = rig.radio.mark(), rig.server.mark()
    code, out = rig.sh("cd /mnt/newer && apt install -y ./ivrelane_*.deb", timeout=300)
    version = rig.sh("dpkg-query -W -f '${Version}' ivrelane")[1]
    s.check(code == 0, f"apt install of the newer package: exit {code}, version {version}")
    new_pid = main_pid(rig)
    s.check(new_pid not in (0, pid), f"running instance restarted by the upgrade "
                                     f"(pid {pid} -> {new_pid})")
    status, ok = wait_status(rig, READY)
    s.check(ok and rig.server.wait("^CONNECTED", smark, timeout=5) is not None,
            f"after the upgrade: {status!r}; radio received {commands(rig.radio, mark, 4)}")
    after = rig.sh(f"ls {FOLDER}")[1].split()
    s.check(set(before) <= set(after) and "Ivrelane.ini" in after,
            f"station folder after the upgrade: {' '.join(after)}")
    mark = rig.radio.mark()
    code, out = rig.sh("apt remove -y ivrelane", timeout=300)
    state = rig.sh(f"systemctl is-active {UNIT}")[1].strip()
    s.check(code == 0 and state in ("inactive", "failed") and state != "failed",
            f"apt remove: exit {code}, instance {state}")
    s.check(rig.radio.received("RX", mark, timeout=10) is not None,
            f"the radio received RX at the removal ({commands(rig.radio, mark, 4)})")
    left = rig.sh(f"ls {FOLDER}; test -x /usr/bin/ivrelane && echo still-installed")[1].split()
    s.check("Ivrelane.ini" in left and "still-installed" not in left,
            f"station folder after the removal: {' '.join(left)}")
    code, _ = rig.sh("getent passwd ivrelane")
    s.check(code == 0, "the user ivrelane stays (it owns the folder)")


PLAN = [
    (5, "CM108 lines on a uhid device", cm108, 5),
    (6, "GPIO lines on gpio-sim", gpio, 6),
    (7, "upgrade and removal", upgrade_and_removal, 7),
]
