#!/usr/bin/env python3
"""Times every KV_DS_Ctrl command on rigs of 1, 4 and 8 simulated cameras
and splits each run's wall time into the pauses the behaviour requires and
the overhead between them. Not a test: it prints a table.

  bench/dispatch_bench.py host BUILD_DIR [RUNS]
  bench/dispatch_bench.py wine BUILD_WIN_DIR RUNS HOST_BUILD_DIR

BUILD_DIR and HOST_BUILD_DIR are builds of the host tree, BUILD_WIN_DIR one of
the 32-bit Windows tree; RUNS (default 5) timed runs per command, medians
printed.

The pauses are what the program asked its clock for in one run of the host
program on the same rig (KV_SIM_PAUSE_TALLY): the dispatcher's and the model
tables' pauses, and nothing of the rig's own delays; the same command on the
same rig pauses the same under Wine. Filter bindings are the debug log's
successful IKsControl queries; rig requests are the lines one run adds to
the rig's trace (the simulated device's own work). Under Wine the baseline
is kv_sim_probe enumerating the same rig without binding anything (COM and
the video-input enumeration: the platform calls every run makes), run in
turn with the command (command, baseline, command, ...) so that both medians
come from the same stretch of a shared machine's time; the last column is
the command's overhead over the baseline's median. Under Wine the rig is the
one installed in the prefix (the registry names it; KV_SIM_RIG is not passed
on), and a command whose bindings or rig requests differ from the host
program's on the same rig stops the benchmark with an error: its times would
be those of other work than the host's.
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COMMANDS = [["LED", "on"], ["LED", "on", "2"], ["LED", "off"], ["LED", "on", "-CAM1"], ["AE", "on"], ["AE", "off", "-CAM1"],
            ["EV", "100"], ["EV", "100", "-CAM1"], ["AntiFlicker", "On", "50"], ["AntiFlicker", "Off", "-CAM1"],
            ["FLCSwitch", "1010"], ["FLCLevel", "3", "-CAM1"], ["INIT"], ["saveexposure"], ["loadexposure", "-CAM1"]]


def korvex_rig(count, folder):
    devices = json.load(open(os.path.join(ROOT, "sim", "rigs", "demo.json")))["devices"]
    devices += json.load(open(os.path.join(ROOT, "sim", "rigs", "families.json")))["devices"]
    korvex = [d for d in devices if str(d.get("vendorId", "0xA168")).upper() in ("0XA168", str(0xA168))]
    seen, chosen = set(), []
    for device in korvex:  # one camera per product id, the demo's first
        if device["productId"] not in seen:
            seen.add(device["productId"])
            chosen.append(device)
    path = os.path.join(folder, f"rig{count}.json")
    json.dump({"devices": chosen[:count]}, open(path, "w"))
    return path


class Host:
    def __init__(self, build):
        self.program = os.path.join(build, "ctrl", "KV_DS_Ctrl")
        self.folder = tempfile.mkdtemp()
        self.documents = os.path.join(self.folder, "Documents")
        self.rig = None

    def use(self, rig):
        self.rig = rig

    def env(self, **extra):
        return dict(os.environ, KV_SIM_RIG=self.rig, KV_COMMON_DOCUMENTS=self.documents, **extra)

    def run(self, arguments, **extra):
        subprocess.run(["./KV_DS_Ctrl"] + arguments, cwd=os.path.dirname(self.program), env=self.env(**extra),
                       stdout=subprocess.DEVNULL, check=True)

    def log(self):
        return os.path.join(self.documents, "KV_DS_Ctrl", "Log", "KV_DS_LOG.txt")

    def pauses(self, rig, arguments):
        """Milliseconds the program paused in one run of `arguments` on `rig`."""
        tally = os.path.join(self.folder, "pauses.txt")
        if os.path.exists(tally):
            os.remove(tally)
        self.use(rig)
        self.kvsim("reset")
        self.run(arguments, KV_SIM_PAUSE_TALLY=tally)
        return int(open(tally).read().split()[0])

    def kvsim(self, command):
        kvsim = os.path.join(os.path.dirname(os.path.dirname(self.program)), "sim", "kvsim")
        return subprocess.run([kvsim, command], env=self.env(), capture_output=True, text=True, check=True).stdout

    baseline = None  # the host's goal is an absolute one


class Wine:
    def __init__(self, build):
        self.build = build
        self.run_wine = os.path.join(ROOT, "cmake", "wine-run.sh")
        self.state = os.path.join(build, "wine")
        self.prefix = subprocess.run([self.run_wine, self.state, "--new-prefix"], capture_output=True,
                                     text=True, check=True).stdout.strip()
        self.folder = os.path.join(self.prefix, "drive_c", "KorvexCamera")
        os.makedirs(self.folder)
        for name in os.listdir(os.path.join(build, "deliverables")):
            shutil.copy(os.path.join(build, "deliverables", name), self.folder)
        for name in ("SMIUtility", "ClientPropertyPageLIB", "libusbK"):
            shutil.copy(os.path.join(build, "sim", "win32", name + ".dll"), self.folder)
        shutil.copy(os.path.join(build, "tests", "e2e", "kv_sim_probe.exe"), self.folder)
        # An installed machine: the plug-in registered, and the vendor key at
        # the version an installation leaves (the plug-in itself writes one
        # below what the check wants, which re-registers at every open).
        self.wine(["C:\\windows\\system32\\regsvr32.exe", "/s", os.path.join(self.folder, "zelunit.dll")])
        self.wine(["C:\\windows\\system32\\reg.exe", "add", "HKCU\\Software\\Zelmar\\UVC Extension Control",
                   "/v", "Version Number", "/t", "REG_DWORD", "/d", "4097", "/f"])
        # One wineserver for the whole benchmark, as a user's session has.
        self.server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env())

    def env(self):
        # The rig is the one installed in the prefix, as on a user's machine:
        # a KV_SIM_RIG of the caller's would take its place.
        env = dict(os.environ, WINEPREFIX=self.prefix, KV_WINEPREFIX=self.prefix, WINEDEBUG="-all")
        env.pop("KV_SIM_RIG", None)
        return env

    def wine(self, arguments):
        subprocess.run([self.run_wine, self.state] + arguments, env=self.env(), stdout=subprocess.DEVNULL, check=True)

    def use(self, rig):
        self.rig = rig
        self.wine([os.path.join(self.build, "sim", "kvsim.exe"), "--rig", rig, "install"])

    def kvsim(self, command):
        return subprocess.run([self.run_wine, self.state, os.path.join(self.build, "sim", "kvsim.exe"), "--rig", self.rig,
                               command], env=self.env(), capture_output=True, text=True, check=True).stdout

    def run(self, arguments):
        self.wine([os.path.join(self.folder, "KV_DS_Ctrl.exe")] + arguments)

    def log(self):
        return os.path.join(self.prefix, "drive_c", "users", "Public", "Documents", "KV_DS_Ctrl", "Log", "KV_DS_LOG.txt")

    def baseline(self):
        subprocess.run([self.run_wine, self.state, os.path.join(self.folder, "kv_sim_probe.exe"), "no-such-device",
                        "1006", "5a"], env=self.env(), stdout=subprocess.DEVNULL)


def elapsed_ms(action):
    start = time.perf_counter()
    action()
    return (time.perf_counter() - start) * 1000


def medians_ms(runs, command, baseline):
    """Median wall times of the command and of the baseline, run in turn."""
    timed, base = [], []
    for _ in range(runs):
        timed.append(elapsed_ms(command))
        if baseline:
            base.append(elapsed_ms(baseline))
    return statistics.median(timed), statistics.median(base) if base else None


def bindings(log):
    lines = [line.rstrip("\r\n")[25:] for line in open(log, encoding="utf-8", errors="replace")]
    return sum(1 for line in lines if line.endswith("(LPVOID*)&pKsControl) Ok"))


def one_run_counts(machine, command):
    """Filter bindings and rig requests of one debug-mode run from a reset rig."""
    if os.path.exists(machine.log()):
        os.remove(machine.log())
    machine.kvsim("reset")
    machine.run(command + ["/d"])
    return bindings(machine.log()), len(machine.kvsim("trace").splitlines())


def main():
    mode, build = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    runner = Host(build) if mode == "host" else Wine(build)
    host = runner if mode == "host" else Host(sys.argv[4])
    folder = tempfile.mkdtemp()
    print(f"{'cameras':>7}  {'command':<22} {'wall ms':>8} {'pauses ms':>9} {'overhead ms':>11} {'bindings':>8} "
          f"{'rig requests':>12}" + (f" {'baseline ms':>11} {'overhead/baseline':>17}" if mode == "wine" else ""))
    try:
        for count in (1, 4, 8):
            rig = korvex_rig(count, folder)
            runner.use(rig)
            for command in COMMANDS:
                pauses = host.pauses(rig, command)
                expected = one_run_counts(host, command)
                counted = expected if runner is host else one_run_counts(runner, command)
                if counted != expected:
                    # Another rig, or cameras the run did not reach: its times would mean nothing.
                    sys.exit(f"dispatch_bench: {count} cameras, {' '.join(command)}: {counted[0]} bindings and "
                             f"{counted[1]} rig requests under Wine, {expected[0]} and {expected[1]} on the host")
                wall, base = medians_ms(runs, lambda: runner.run(command), runner.baseline)
                row = f"{count:>7}  {' '.join(command):<22} {wall:>8.0f} {pauses:>9} {wall - pauses:>11.0f} "
                row += f"{counted[0]:>8} {counted[1]:>12}"
                if mode == "wine":
                    row += f" {base:>11.0f} {(wall - pauses) / base:>17.2f}"
                print(row, flush=True)
    finally:
        if mode == "wine":
            runner.server.terminate()
            subprocess.run([runner.run_wine, runner.state, "--drop-prefix", runner.prefix])


if __name__ == "__main__":
    main()
