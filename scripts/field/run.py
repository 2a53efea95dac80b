"""Boots the field test's guest, runs the scenarios against the installed package, and prints
what each one saw, then "N passed, N failed". Started by scripts/field-test."""

import argparse
import os
import signal
import sys
import time
import traceback

import scenarios
import scenarios_lines
from sims import Relaysim, Rigsim
from vm import GuestError, Vm


class Scenario:
    """One scenario's checks: each says what was seen, and whether it was what was expected."""

    def __init__(self, number, title):
        self.number = number
        self.title = title
        self.failures = 0
        self.skipped = None

    def check(self, ok, seen):
        print(f"    {'ok  ' if ok else 'FAIL'} {seen}", flush=True)
        if not ok:
            self.failures += 1
        return ok

    def skip(self, why):
        self.skipped = why
        print(f"    skipped: {why}", flush=True)


class Rig:
    """What the scenarios work with: the guest, the radio and the server, and helpers."""

    def __init__(self, vm, radio, server, payload_dir):
        self.vm = vm
        self.radio = radio
        self.server = server
        self.payload_dir = payload_dir

    def sh(self, command, timeout=120):
        return self.vm.run(command, timeout=timeout)

    def prop(self, unit, name):
        return self.sh(f"systemctl show -p {name} --value {unit}")[1].strip()

    def wait_guest(self, command, predicate, timeout=60, every=1.0):
        """Runs command in the guest until predicate(output) holds: the last output, and
        whether it held."""
        deadline = time.monotonic() + timeout
        while True:
            out = self.sh(command)[1]
            if predicate(out):
                return out, True
            if time.monotonic() > deadline:
                return out, False
            time.sleep(every)

    def write_file(self, path, text, owner="ivrelane:ivrelane", mode="0644"):
        self.vm.run(f"cat > {path} && chown {owner} {path} && chmod {mode} {path}",
                    check=True, input_text=text)


def interrupt(*_):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--image", required=True)
    parser.add_argument("--payload", required=True)
    parser.add_argument("--payload-dir", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    only = {int(n) for n in args.only.split(",") if n}

    log = open(os.path.join(args.work, "hosts.log"), "w")
    server = Relaysim(args.build, log)
    radio = Rigsim(args.build, args.work, log)
    forward = f"tcp:10.0.2.100:10901-cmd:socat - TCP:127.0.0.1:{server.port}"
    vm = Vm(args.image, args.work, args.payload, forward, log)
    results = []
    started = time.monotonic()
    interrupted = False
    # A time-out or Ctrl+C: the guest and the simulators go at once, nothing is left running.
    signal.signal(signal.SIGTERM, interrupt)
    try:
        vm.start()
        radio.connect(vm.rig_socket, log)
        vm.wait_agent()
        print(f"field-test: guest up after {time.monotonic() - started:.0f} s", flush=True)
        vm.run("mount -o ro /dev/vdb /mnt", check=True)
        rig = Rig(vm, radio, server, args.payload_dir)
        plan = scenarios.PLAN + scenarios_lines.PLAN
        plan.sort(key=lambda entry: entry[3])
        for number, title, run, _order in plan:
            if only and number not in only:
                continue
            scenario = Scenario(number, title)
            print(f"[{number}] {title}", flush=True)
            t0 = time.monotonic()
            try:
                run(rig, scenario)
            except (GuestError, OSError, RuntimeError, KeyError, ValueError) as error:
                scenario.check(False, f"stopped: {error}")
                traceback.print_exc(file=log)
            print(f"    ({time.monotonic() - t0:.0f} s)", flush=True)
            results.append(scenario)
    except (GuestError, OSError, RuntimeError) as error:
        print(f"field-test: {error}", flush=True)
        failed = Scenario(0, "the rig itself")
        failed.failures = 1
        results.append(failed)
    except KeyboardInterrupt:
        interrupted = True
        print("field-test: interrupted", flush=True)
        failed = Scenario(0, "the rig itself")
        failed.failures = 1
        results.append(failed)
    finally:
        vm.stop(quick=interrupted)
        radio.stop()
        server.stop()
    passed = sum(1 for s in results if s.failures == 0 and not s.skipped)
    failed = sum(1 for s in results if s.failures)
    skipped = [s for s in results if s.skipped]
    for s in skipped:
        print(f"field-test: scenario {s.number} skipped: {s.skipped}")
    print(f"field-test: {time.monotonic() - started:.0f} s in the guest")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
