#!/usr/bin/env python3
"""Every command of KV_DS_Ctrl's help text against the demo and families rigs,
on the host or under Wine (the shipped 32-bit program with the stand-in
libraries beside it): each run must end with exit status 0 and leave the
documented register effect in the rig (`kvsim dump`); saveexposure on one
run and loadexposure on a later one restore the registers; under Wine, a save
into a read-only Setting.ini says so and changes nothing. The program copied
into a folder whose name holds commands does exactly what its arguments say.
In the uvc mode every command runs once more through the program's Linux
adapters, on a kernel that umockdev mocks from the same rigs, and must leave
the effects of the host run, except on the cameras whose models need what
Linux lacks: those are named, one line each, and left as they were.

    commands_e2e.py host KV_DS_CTRL KVSIM RIGS_DIR
    commands_e2e.py wine KV_DS_CTRL KVSIM RIGS_DIR WINE_RUN WINE_STATE DELIVERABLES_DIR STANDIN_DIR
    commands_e2e.py uvc KV_DS_CTRL KVSIM RIGS_DIR UVC_TESTBED KV_SIM_PROBE
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


class HostRig:
    """The program copied into a folder of its own (Setting.ini lands beside it)."""

    def __init__(self, program, kvsim, work):
        self.kvsim = kvsim
        self.folder = os.path.join(work, "program")
        os.makedirs(self.folder)
        self.program = os.path.join(self.folder, os.path.basename(program))
        shutil.copy2(program, self.program)
        # The library's named mutex is a file in $TMPDIR, one per machine:
        # this test is a machine of its own, so that tests run side by side
        # never wait on each other's transfers.
        self.env = dict(os.environ, KV_COMMON_DOCUMENTS=os.path.join(work, "Documents"), TMPDIR=work)

    def use(self, rig):
        self.rig = rig
        self.env["KV_SIM_RIG"] = rig
        self.sim("reset")

    def ctrl(self, *args):
        return subprocess.run(["./" + os.path.basename(self.program), *args], cwd=self.folder, env=self.env,
                              capture_output=True, text=True, timeout=120)

    def start(self, *args):
        return subprocess.Popen(["./" + os.path.basename(self.program), *args], cwd=self.folder, env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def sim(self, *args):
        return subprocess.run([self.kvsim, "--rig", self.rig, *args], env=self.env, capture_output=True, text=True,
                              check=True).stdout

    def settings(self):
        return os.path.join(self.folder, "Setting.ini")

    def copy_to(self, name):
        """The program in another folder of the machine, started by its whole path."""
        folder = os.path.join(os.path.dirname(self.folder), name)
        os.makedirs(folder)
        shutil.copy2(self.program, folder)
        return os.path.join(folder, os.path.basename(self.program))

    def ctrl_at(self, program, *args):
        return subprocess.run([program, *args], cwd=os.path.dirname(program), env=self.env, capture_output=True,
                              text=True, timeout=120)

    def close(self):
        pass


class UvcRig(HostRig):
    """The host program, once on the rig's own adapters (ctrl) and once on its
    Linux adapters in a umockdev testbed of the rig's cameras (ctrl_linux)."""

    def __init__(self, program, kvsim, work, testbed, probe):
        super().__init__(program, kvsim, work)
        self.testbed, self.probe = testbed, probe
        # umockdev's preload library comes before the sanitizers' runtime in
        # the library list, and GLib's once-only allocations in the preload
        # library and the testbed outlive the leak check.
        suppressions = os.path.join(work, "umockdev.supp")
        with open(suppressions, "w") as handle:
            handle.write("leak:libumockdev\nleak:libglib-2.0\nleak:libgobject-2.0\nleak:libgio-2.0\n")
        self.linux_env = dict(self.env, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0",
                              LSAN_OPTIONS=f"suppressions={suppressions}:print_suppressions=0")

    def in_testbed(self, command, consent=False):
        env = dict(self.linux_env, KV_LINUX_DIRECT_USB="1") if consent else self.linux_env
        return subprocess.run([self.testbed, self.rig, "--", *command], cwd=self.folder, env=env, capture_output=True,
                              text=True, timeout=300)

    def ctrl_linux(self, *args, consent=False):
        return self.in_testbed(["./" + os.path.basename(self.program), *args], consent)


class WineRig:
    """An installed machine in a Wine prefix: the deliverables and the
    outside libraries' stand-ins in C:\\KorvexCamera, the rig installed."""

    def __init__(self, program, kvsim, work, wine_run, wine_state, deliverables, standins):
        self.kvsim, self.wine_run, self.wine_state = kvsim, wine_run, wine_state
        self.prefix = subprocess.run([wine_run, wine_state, "--new-prefix"], capture_output=True, text=True,
                                     check=True).stdout.strip()
        # Runs started at once must not meet a server on its way out.
        subprocess.run([wine_run, wine_state, "--keep-server", self.prefix], check=True)
        self.folder = os.path.join(self.prefix, "drive_c", "KorvexCamera")
        os.makedirs(self.folder)
        for name in os.listdir(deliverables):
            shutil.copy2(os.path.join(deliverables, name), self.folder)
        for library in ("SMIUtility", "ClientPropertyPageLIB", "libusbK"):
            shutil.copy2(os.path.join(standins, library + ".dll"), self.folder)
        self.program = os.path.join(self.folder, os.path.basename(program))
        self.env = {k: v for k, v in os.environ.items() if k != "KV_SIM_RIG"}
        self.env["KV_WINEPREFIX"] = self.prefix

    def run(self, program, *args, check=False):
        result = subprocess.run([self.wine_run, self.wine_state, program, *args], env=self.env, capture_output=True,
                                text=True, timeout=240, check=check)
        result.stdout = result.stdout.replace("\r", "")
        return result

    def use(self, rig):
        self.rig = rig
        self.sim("install")

    def ctrl(self, *args):
        return self.run(self.program, *args)

    def start(self, *args):
        return subprocess.Popen([self.wine_run, self.wine_state, self.program, *args], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def sim(self, *args):
        return self.run(self.kvsim, "--rig", self.rig, *args, check=True).stdout

    def settings(self):
        return os.path.join(self.folder, "Setting.ini")

    def copy_to(self, name):
        """The installed folder copied to C:\\name."""
        folder = os.path.join(self.prefix, "drive_c", name)
        shutil.copytree(self.folder, folder)
        return os.path.join(folder, os.path.basename(self.program))

    def ctrl_at(self, program, *args):
        return self.run(program, *args)

    def close(self):
        subprocess.run([self.wine_run, self.wine_state, "--drop-prefix", self.prefix], check=False)


def dump(machine):
    return {d["productId"]: d for d in json.loads(machine.sim("dump"))["devices"]}


def sensor(device, slave):
    return device["i2cDevices"][slave]["registers"]


def page(device, number):
    return device["i2cDevices"]["0x5D"]["pages"][str(number)]


def register_values(devices):
    """What the cameras hold, without the address latches, pointers and bridge
    I2C engine registers (0x10D0 to 0x10D9) that every sensor read moves."""
    def kept(key):
        if key.startswith("0x"):
            return not 0x10D0 <= int(key, 16) <= 0x10D9
        return key.isdigit() or key in ("registers", "pages", "driverProperties", "smiGpio", "extended",
                                         "i2cDevices", "aveoXu")

    def values(node):
        if not isinstance(node, dict):
            return node
        return {key: values(value) for key, value in node.items() if kept(key)}
    return {product: values(device) for product, device in devices.items()}


# What the stand-in libusbK.dll says when a process ends with a device handle
# it never freed.
LEAKED_USB_HANDLE = "device handle(s) left open"


def run(machine, *args):
    result = machine.ctrl(*args)
    check(result.returncode == 0, f"{' '.join(args)}: exit status {result.returncode}: {result.stderr[-500:]}")
    check(LEAKED_USB_HANDLE not in result.stderr, f"{' '.join(args)}: {result.stderr.strip()[-300:]}")
    return dump(machine)


def expect(label, actual, wanted):
    check(actual == wanted, f"{label}: {actual!r}, wanted {wanted!r}")


def demo_commands(machine, rigs, work):
    rig = os.path.join(work, "demo.json")
    shutil.copy(os.path.join(rigs, "demo.json"), rig)
    machine.use(rig)
    start = dump(machine)

    after = run(machine, "LED", "on")
    expect("LED on 0840 GPIO enables", after["0x0840"]["registers"]["0x1007"], 0x82 | 0x05)
    expect("LED on 0870 LED register", after["0x0870"]["registers"]["0x0080"], 0xA5 | 0x01)
    expect("LED on 0990 extended F2", after["0x0990"]["aveoXu"]["extended"].get("0xF2"), "01")
    expect("LED on 09B0 FLC pattern", sensor(after["0x09B0"], "0x62")["0x04"], 15)
    expect("LED on 09B0 FLC level", sensor(after["0x09B0"], "0x62")["0x03"], 6)
    expect("LED on 0610 property 29", after["0x0610"]["driverProperties"]["29"], 2)
    expect("LED on 0617 register 0x100A", after["0x0617"]["registers"]["0x100A"], 0x01)
    expect("LED on 0810 GPIO ports", after["0x0810"]["smiGpio"], [0x2B | 0x02, 0x11, 0x22, 0x56 & 0xFB])

    after = run(machine, "LED", "off")
    expect("LED off 0840 GPIO levels", after["0x0840"]["registers"]["0x1006"], (0x31 & ~0x01) | 0x04)
    expect("LED off 0870 LED register", after["0x0870"]["registers"]["0x0080"], 0xA5 & 0xFE)
    expect("LED off 09B0 FLC pattern", sensor(after["0x09B0"], "0x62")["0x04"], 16)
    expect("LED off 0610 property 29", after["0x0610"]["driverProperties"]["29"], 1)
    expect("LED off 0617 register 0x100A", after["0x0617"]["registers"]["0x100A"], 0x03)
    expect("LED off 0810 GPIO ports", after["0x0810"]["smiGpio"], [0x2B & 0xFD, 0x11, 0x22, 0x52 & 0xFD])

    machine.sim("reset")
    after = run(machine, "LED", "on", "2")
    expect("LED on 2 0840 untouched", after["0x0840"]["registers"]["0x1007"], 0x82)
    expect("LED on 2 0617 register 0x1006", after["0x0617"]["registers"]["0x1006"], 0x64 & ~0x20)

    after = run(machine, "AE", "on")
    expect("AE on 0840 page 1 0x06", page(after["0x0840"], 1)["0x06"], 0x709E)
    expect("AE on 0870 0x0380", sensor(after["0x0870"], "0x48")["0x0380"], 0x3D)
    expect("AE on 0990 0x3503", sensor(after["0x0990"], "0x78")["0x3503"], 0xB0)
    expect("AE on 09B0 0x3503", sensor(after["0x09B0"], "0x78")["0x3503"], 0x70)
    expect("AE on 09B0 0x3035", sensor(after["0x09B0"], "0x78")["0x3035"], 0x11)
    expect("AE on 0610 property 11", after["0x0610"]["driverProperties"]["11"], 1)
    expect("AE on 0810 0x3503", sensor(after["0x0810"], "0x78")["0x3503"], 0)
    after = run(machine, "AE", "off")
    expect("AE off 0840 page 1 0x06", page(after["0x0840"], 1)["0x06"], 0x309E)
    expect("AE off 0870 0x0380", sensor(after["0x0870"], "0x48")["0x0380"], 0x3C)
    expect("AE off 0990 0x3503", sensor(after["0x0990"], "0x78")["0x3503"], 0xB3)
    expect("AE off 09B0 0x3503", sensor(after["0x09B0"], "0x78")["0x3503"], 0x73)
    expect("AE off 0610 property 11", after["0x0610"]["driverProperties"]["11"], 0)
    expect("AE off 0810 0x3503", sensor(after["0x0810"], "0x78")["0x3503"], 7)

    after = run(machine, "EV", "100")
    expect("EV 100 0840 page 2 0x2E", page(after["0x0840"], 2)["0x2E"], 0x0664)
    expect("EV 100 0840 page 2 0x37", page(after["0x0840"], 2)["0x37"], 0x8140)
    # hi:lo 0x016F, mode 3, divisor 4: ratio 66 > 32, so 2 * (100 * 35 / 3) + 206 = 2538.
    expect("EV 100 0870 step ratio", [sensor(after["0x0870"], "0x48")[r] for r in ("0x038E", "0x085A", "0x085B", "0x085C")],
           [100, 2538 // 256, 2538 % 256, 1])
    for product in ("0x0990", "0x09B0"):
        expect(f"EV 100 {product} targets", [sensor(after[product], "0x78")[r] for r in ("0x3A1E", "0x3A1B", "0x3A10", "0x3A0F")],
               [100, 116, 102, 114])
    expect("EV 100 0810 targets", [sensor(after["0x0810"], "0x78")[r] for r in ("0x3A1E", "0x3A1B", "0x3A10", "0x3A0F")],
           [100, 148, 116, 132])
    expect("EV 100 0610 property 12", after["0x0610"]["driverProperties"]["12"], 1000000)

    after = run(machine, "AntiFlicker", "On", "50")
    expect("50 Hz 0840 page 2 0x5B", page(after["0x0840"], 2)["0x5B"], (0xF6 & 0x0C) | 0x01)
    expect("50 Hz 0870 0x0120", sensor(after["0x0870"], "0x48")["0x0120"], 0x6C)
    expect("50 Hz 0870 AE register untouched", sensor(after["0x0870"], "0x48")["0x0380"], 0x3C)
    for product in ("0x0990", "0x09B0"):
        expect(f"50 Hz {product}", [sensor(after[product], "0x78")[r] for r in ("0x3C01", "0x3C00")], [0xB4, 0x04])
    expect("50 Hz 0610 property 18", after["0x0610"]["driverProperties"]["18"], 0)
    after = run(machine, "AntiFlicker", "On", "60")
    expect("60 Hz 0840 page 2 0x5B", page(after["0x0840"], 2)["0x5B"], 0x05 | 0x03)
    expect("60 Hz 0870 0x0120", sensor(after["0x0870"], "0x48")["0x0120"], 0x6D)
    expect("60 Hz 0990", [sensor(after["0x0990"], "0x78")[r] for r in ("0x3C01", "0x3C00")], [0xB4, 0x00])
    expect("60 Hz 0610 property 18", after["0x0610"]["driverProperties"]["18"], 1)
    after = run(machine, "AntiFlicker", "Off")
    expect("off 09B0 0x3C01", sensor(after["0x09B0"], "0x78")["0x3C01"], 0x34)
    expect("off 0840 untouched", page(after["0x0840"], 2)["0x5B"], 0x07)

    after = run(machine, "FLCSwitch", "1010")
    for product in ("0x0870", "0x0990", "0x09B0"):
        expect(f"FLCSwitch {product}", sensor(after[product], "0x62")["0x04"], 0b1010)
    after = run(machine, "FLCLevel", "3", "-CAM4")
    expect("FLCLevel -CAM4 09B0", sensor(after["0x09B0"], "0x62")["0x03"], 3)
    expect("FLCLevel -CAM4 leaves 0990", sensor(after["0x0990"], "0x62")["0x03"], 6)
    after = run(machine, "FLCSwitch", "0000")
    expect("FLCSwitch 0000 means all off", sensor(after["0x0990"], "0x62")["0x04"], 16)

    after = run(machine, "INIT")
    expect("INIT 0870 copies the controller's byte", after["0x0870"]["i2cDevices"]["0x46"]["lastByte"], 0x15)
    expect("INIT 0990 reads page 0x50", after["0x0990"]["i2cDevices"]["0x46"]["lastByte"], 0x2A)

    exposure_round_trip(machine, start)


def exposure_round_trip(machine, start):
    machine.sim("reset")
    if os.path.exists(machine.settings()):
        os.remove(machine.settings())
    saved = run(machine, "saveexposure")
    check(os.path.exists(machine.settings()), "saveexposure wrote no Setting.ini beside the program")
    with open(machine.settings(), encoding="latin-1") as handle:
        text = handle.read().replace("\r", "")
    for section in ("[Tn21]", "[Tn21V6]", "[Kb29]", "[Kd329]", "[Kb21]"):
        check(section in text, f"saveexposure: no {section} in Setting.ini:\n{text}")
    run(machine, "EV", "50")
    loaded = run(machine, "loadexposure")
    for product, slave, registers in (("0x0990", "0x78", ("0x3A1E", "0x3A1B", "0x3A10", "0x3A0F")),
                                      ("0x09B0", "0x78", ("0x3A1E", "0x3A1B", "0x3A10", "0x3A0F")),
                                      ("0x0810", "0x78", ("0x3A1E", "0x3A1B", "0x3A10", "0x3A0F")),
                                      ("0x0870", "0x48", ("0x038E", "0x085A", "0x085B", "0x085C"))):
        expect(f"loadexposure {product}", [sensor(loaded[product], slave)[r] for r in registers],
               [sensor(saved[product], slave)[r] for r in registers])
    expect("loadexposure 0840 page 2 0x23", page(loaded["0x0840"], 2)["0x23"], page(saved["0x0840"], 2)["0x23"])
    expect("loadexposure 0840 page 2 0x2E", page(loaded["0x0840"], 2)["0x2E"], page(saved["0x0840"], 2)["0x2E"])
    if isinstance(machine, WineRig):
        read_only_settings(machine)


def read_only_settings(machine):
    """A standard user may not write the program's folder: a save that cannot
    write Setting.ini prints one line naming it on standard error, ends with
    status 0 and leaves the file and the cameras as they were. Wine shows a
    file without write permission as read-only, but root writes it all the
    same: for root the file is made immutable as well."""
    with open(machine.settings(), "rb") as handle:
        before = handle.read()
    cameras = dump(machine)
    os.chmod(machine.settings(), 0o444)
    immutable = os.geteuid() == 0
    try:
        if immutable:
            made = subprocess.run(["chattr", "+i", machine.settings()], capture_output=True, text=True)
            check(made.returncode == 0, f"read-only saveexposure: chattr +i: {made.stderr.strip()}")
        result = machine.ctrl("saveexposure")
    finally:
        if immutable:
            subprocess.run(["chattr", "-i", machine.settings()], check=False)
        os.chmod(machine.settings(), 0o644)
    check(result.returncode == 0, f"read-only saveexposure: exit status {result.returncode}")
    expect("read-only saveexposure output", result.stdout, "")
    expect("read-only saveexposure error", result.stderr.replace("\r", ""),
           "saveexposure: could not write C:\\KorvexCamera\\Setting.ini\n")
    with open(machine.settings(), "rb") as handle:
        check(handle.read() == before, "read-only saveexposure changed Setting.ini")
    expect("read-only saveexposure cameras", register_values(dump(machine)), register_values(cameras))


def program_path_never_a_command(machine, rigs, work):
    """Installed in a folder whose name reads like a command line, the program
    does exactly what its arguments say, prints the help for none, and writes
    no debug log."""
    rig = os.path.join(work, "demo.json")
    machine.use(rig)
    odd = machine.copy_to("Camera On Desk ev 5 -CAM3 INIT AE FLCSwitch 0000")
    for args in (("LED", "on", "-CAM1"), ("FLCLevel", "2"), ("AE", "off", "-CAM2")):
        machine.sim("reset")
        wanted = run(machine, *args)
        machine.sim("reset")
        result = machine.ctrl_at(odd, *args)
        check(result.returncode == 0 and result.stdout == "", f"{odd} {' '.join(args)}: {result}")
        expect(f"{' '.join(args)} from {odd}", dump(machine), wanted)
    expect("help from the odd folder", machine.ctrl_at(odd).stdout, machine.ctrl().stdout)


def families_commands(machine, rigs, work):
    rig = os.path.join(work, "families.json")
    shutil.copy(os.path.join(rigs, "families.json"), rig)
    machine.use(rig)

    after = run(machine, "LED", "on")
    expect("LED on 0712 GPIO levels", after["0x0712"]["registers"]["0x1006"], (0x31 | 0x01) & ~0x04)
    expect("LED on 0850 GPIO levels", after["0x0850"]["registers"]["0x1006"], (0x31 & ~0x10) | 0x01)
    expect("LED on 0885 LED register", after["0x0885"]["registers"]["0x0080"], 0xA5 | 0x01)
    expect("LED on 0902 LED register", after["0x0902"]["registers"]["0x0080"], (0xA5 & 0xFA) | 0x01)
    expect("LED on 0922 LED register", after["0x0922"]["registers"]["0x0080"], (0xA5 & 0xFA) | 0x01)
    expect("LED on 0612 property 29", after["0x0612"]["driverProperties"]["29"], 2)
    # Lines 4 and 0: pattern B lights line 4 alone, pattern D both.
    expect("LED on 0820 GPIO levels", after["0x0820"]["registers"]["0x1006"], (0x29 | 0x10) & ~0x01)
    expect("LED on 0825 GPIO levels", after["0x0825"]["registers"]["0x1006"], 0x46 | 0x11)
    expect("LED on 0820 GPIO enables", after["0x0820"]["registers"]["0x1007"], 0x82 | 0x11)
    expect("LED on 0825 GPIO enables", after["0x0825"]["registers"]["0x1007"], 0x8A | 0x11)
    # The camera table holds ten cameras: 0x0812, 0x0813, 0x09B5 and 0x0843
    # come after them.
    expect("LED on 09B5 beyond the table", sensor(after["0x09B5"], "0x62")["0x04"], 16)
    expect("LED on 0812 beyond the table", after["0x0812"]["smiGpio"], [0x2B, 0x11, 0x22, 0x56])
    on = after
    after = run(machine, "LED", "on", "2")
    expect("LED on 2 0712 GPIO levels", after["0x0712"]["registers"]["0x1006"], (0x31 & ~0x01) | 0x04)
    expect("LED on 2 0912 LED register", after["0x0912"]["registers"]["0x0080"], (0xA5 & 0xFA) | 0x04)
    expect("LED on 2 0820 GPIO levels", after["0x0820"]["registers"]["0x1006"],
           (on["0x0820"]["registers"]["0x1006"] & ~0x10) | 0x01)
    expect("LED on 2 0825 GPIO levels", after["0x0825"]["registers"]["0x1006"], on["0x0825"]["registers"]["0x1006"] & ~0x11)

    after = run(machine, "AE", "on")
    expect("AE on 0850 0x10", sensor(after["0x0850"], "0x20")["0x10"], 0x4D | 0x80)
    expect("AE on 0712 0x13", sensor(after["0x0712"], "0x21")["0x13"], 0xBD)
    expect("AE on 0902 0x3503", sensor(after["0x0902"], "0x78")["0x3503"], 0xB0)
    expect("AE on 0885 0x0380", sensor(after["0x0885"], "0x48")["0x0380"], 0x3D)

    after = run(machine, "EV", "100")
    expect("EV 100 0712", [sensor(after["0x0712"], "0x21")[r] for r in ("0x24", "0x25")], [100, 84])
    expect("EV 100 0850 0x70", sensor(after["0x0850"], "0x20")["0x70"], 100)
    # Recipe B: mode 3, ratio 66 > 20: 2 * (100 * 70 / 3) + 206 = 4872.
    expect("EV 100 0912 step ratio", [sensor(after["0x0912"], "0x48")[r] for r in ("0x085A", "0x085B")],
           [4872 // 256, 4872 % 256])
    expect("EV 100 0922 0x3A1B", sensor(after["0x0922"], "0x78")["0x3A1B"], 116)
    expect("EV 100 09A5 untouched", sensor(after["0x09A5"], "0x21")["0x24"], 0x3C)

    after = run(machine, "AntiFlicker", "On", "60")
    expect("60 Hz 09A5", [sensor(after["0x09A5"], "0x48")[r] for r in ("0x0022", "0x0023")], [0x7F, 0x03])
    expect("60 Hz 0712", [sensor(after["0x0712"], "0x21")[r] for r in ("0x22", "0x23")], [0x7F, 0x03])
    expect("60 Hz 0912 0x0120", sensor(after["0x0912"], "0x48")["0x0120"], 0x6D)

    after = run(machine, "INIT")
    expect("INIT 0912 reads page 0x40", after["0x0912"]["i2cDevices"]["0x46"]["lastByte"], 0x15)

    before = after
    after = run(machine, "LED", "off")
    expect("LED off 0885 LED register", after["0x0885"]["registers"]["0x0080"], 0xA5 & 0xFE)
    expect("LED off 0820 GPIO levels", after["0x0820"]["registers"]["0x1006"], before["0x0820"]["registers"]["0x1006"] & ~0x11)
    expect("LED off 0825 GPIO levels", after["0x0825"]["registers"]["0x1006"],
           (before["0x0825"]["registers"]["0x1006"] & ~0x10) | 0x01)
    expect("LED off 0843 beyond the table", after["0x0843"]["registers"]["0x1006"], 0x31)


def faulty_cameras(machine, rigs, work):
    """A sensor that does not acknowledge and a unit that hangs cost their
    time-outs; the run ends with exit status 0 and the camera after them is
    served."""
    rig = os.path.join(work, "faults.json")
    shutil.copy(os.path.join(rigs, "faults.json"), rig)
    machine.use(rig)
    started = time.monotonic()
    after = run(machine, "AE", "on")
    elapsed = time.monotonic() - started
    expect("faults: AE on 0610 after the faulty cameras", after["0x0610"]["driverProperties"]["11"], 1)
    # Eight register-library operations on the two faulty cameras, each
    # waited for at most 0.5 s and each waiting at most 1 s for the library's
    # mutex, plus the program's own pauses: well under a minute.
    check(elapsed < 60, f"faults: AE on took {elapsed:.1f} s")


def concurrent_processes(machine, rigs, work):
    """Eight runs at once, as the GUI starts them without waiting: each
    finishes, and every register ends at a value one of them wrote."""
    rig = os.path.join(work, "demo.json")
    machine.use(rig)
    commands = [("FLCSwitch", "1010"), ("FLCSwitch", "0101"), ("LED", "on"), ("LED", "off")] * 2
    running = [machine.start(*command) for command in commands]
    for command, process in zip(commands, running):
        try:
            errors = process.communicate(timeout=600)[1]
            status = process.returncode
        except subprocess.TimeoutExpired:
            process.kill()
            errors = process.communicate()[1]
            status = "hung"
        check(status == 0, f"concurrent {' '.join(command)}: exit status {status}, standard error: {errors[-2000:]!r}")
    after = dump(machine)
    expect_in = lambda label, value, allowed: check(value in allowed, f"{label}: {value!r}, not one of {allowed!r}")
    expect_in("concurrent 0990 FLC pattern", sensor(after["0x0990"], "0x62")["0x04"], (10, 5, 15, 16))
    expect_in("concurrent 09B0 FLC pattern", sensor(after["0x09B0"], "0x62")["0x04"], (10, 5, 15, 16))
    # The 0x0870 LEDs go through the register library: a read of register
    # 0x84 that is not answered within the library's 500 ms wait (eight
    # processes at once on a busy machine take turns on its mutex) fails, and
    # then nothing is written. So the register may keep its first value 0x5A
    # as well, though never anything else.
    expect_in("concurrent 0870 LED register", after["0x0870"]["registers"]["0x0080"], (0xA5, 0xA4, 0x5A))
    # The bridge GPIO lines of 0x0840 are changed by the camera object's own
    # read-modify-writes, which no lock guards across processes: they are not
    # checked here.


# What Linux lacks, by model: the camera driver's own property set and the
# two Windows libraries. The program leaves such a camera alone for the
# commands named here (by the names of LINUX_COMMANDS), in one line.
DRIVER_PROPERTY_COMMANDS = {"LED on", "LED off", "AE", "EV", "Hz", "Load"}
LINUX_LACKS = {
    "0x0610": DRIVER_PROPERTY_COMMANDS,
    "0x0612": DRIVER_PROPERTY_COMMANDS,
    "0x0617": DRIVER_PROPERTY_COMMANDS | {"LED on 2"},
    "0x0810": {"*"},
    "0x0812": {"*"},
    "0x0813": {"*"},
}
# The camera table holds ten cameras: the rest of a rig is never reached.
TABLE_SIZE = 10
# Without the user's consent the direct USB requests are not sent: the
# camera whose device the run opened (0x09B0) says so once per run, and the
# other effects are those of a run on a machine whose USB library lists no
# device. With it, they are those of the host run. (0x09B5's direct requests
# go to the device opened for a 0x09B0, so with none in the rig they reach
# nothing, on Windows too.)
DIRECT_USB_COMMANDS = {"0x09B0": {"LED on", "LED off", "FLC", "AE", "EV", "Hz", "FlickerOff", "Save", "Load"}}
LINUX_COMMANDS = [("LED on", ("LED", "on")), ("LED off", ("LED", "off")), ("LED on 2", ("LED", "on", "2")),
                  ("AE", ("AE", "on")), ("AE", ("AE", "off")), ("EV", ("EV", "100")),
                  ("Hz", ("AntiFlicker", "On", "50")), ("Hz", ("AntiFlicker", "On", "60")),
                  ("FlickerOff", ("AntiFlicker", "Off")), ("FLC", ("FLCSwitch", "1010")), ("FLC", ("FLCLevel", "3")),
                  ("INIT", ("INIT",)), ("Save", ("saveexposure",)), ("Load", ("loadexposure",))]


def named(table, kind, order):
    return {product for product, kinds in table.items()
            if product in order[:TABLE_SIZE] and (kind in kinds or "*" in kinds)}


def linux_rigs(rigs, name, work):
    """The rig with standard properties on its first camera, and the same rig
    as a machine whose USB library lists none of its cameras."""
    with open(os.path.join(rigs, name + ".json")) as handle:
        description = json.load(handle)
    # Brightness, saturation and exposure.
    description["devices"][0].update(
        videoProcAmp={"0": {"min": 0, "max": 255, "value": 128}, "3": {"min": 0, "max": 100, "value": 50}},
        cameraControl={"4": {"min": -11, "max": -2, "value": -5, "caps": 3, "flags": 2}})
    paths = []
    for variant in ("", "no-usb-"):
        if variant:
            for device in description["devices"]:
                device.pop("directUsb", None)
        paths.append(os.path.join(work, variant + name + ".json"))
        with open(paths[-1], "w") as handle:
            json.dump(description, handle)
    return paths


def standard_properties(machine, rig, no_usb):
    """The first camera's standard properties (no command reads them; the
    probe does, through the same port set) read and one set, once through
    the rig's own adapters and once through the Linux adapters' controls."""
    command = [machine.probe, "--properties", "pid_0840", "-7"]

    def properties(result):
        check(result.returncode == 0, f"standard properties: {result.stdout}{result.stderr[-800:]}")
        return [line for line in result.stdout.splitlines() if not line.startswith("device ")]

    machine.use(no_usb)
    windows = properties(subprocess.run(command, env=machine.env, capture_output=True, text=True, timeout=120))
    check(len([line for line in windows if "range" in line]) == 3, f"standard properties: {windows}")
    machine.use(rig)
    linux = properties(machine.in_testbed(command))
    expect("standard properties on Linux", linux, windows)
    expect("exposure set on Linux", dump(machine)["0x0840"]["cameraControl"]["4"]["value"], -7)


def linux_commands(machine, rigs, work):
    for name in ("demo", "families"):
        rig, no_usb = linux_rigs(rigs, name, work)
        machine.use(rig)
        order = [device["productId"] for device in json.loads(machine.sim("dump"))["devices"]]
        start = register_values(dump(machine))
        for kind, args in LINUX_COMMANDS:
            same_on_linux(machine, f"{name}: {' '.join(args)} on Linux", kind, args, rig, no_usb, order, start)
        if name == "demo":
            # With the user's consent the direct requests go out through the
            # mocked usbfs, and the testbed checks that the video driver got
            # each camera's interface back (exit status 71 otherwise). AE on
            # stands for AE off too: the same sensor path.
            for kind, args in LINUX_COMMANDS:
                if kind in DIRECT_USB_COMMANDS["0x09B0"] and args != ("AE", "off"):
                    same_on_linux(machine, f"demo: {' '.join(args)} on Linux with direct USB", kind, args, rig, rig,
                                  order, start, consent=True)
            standard_properties(machine, rig, no_usb)


def same_on_linux(machine, label, kind, args, rig, reference, order, start, consent=False):
    """A command through the Linux adapters leaves the effects of the host run
    on the reference rig, but for the cameras it names as left out."""
    machine.use(reference)
    windows = register_values(run(machine, *args))
    machine.use(rig)
    result = machine.ctrl_linux(*args, consent=consent)
    check(result.returncode == 0, f"{label}: exit status {result.returncode}: {result.stderr[-800:]}")
    left_out = named(LINUX_LACKS, kind, order)
    models = {"0x" + model.upper() for model in re.findall(r"^-CAM\d+ \(model (\w{4})\): needs ", result.stderr, re.M)}
    expect(f"{label}: cameras left out", models, left_out)
    ports = re.findall(r"^Korvex camera at USB port 1-(\d+): nothing was sent by direct USB", result.stderr, re.M)
    expect(f"{label}: direct USB withheld", {order[int(n) - 1] for n in ports},
           set() if consent else named(DIRECT_USB_COMMANDS, kind, order))
    after = register_values(dump(machine))
    for product in order:
        expect(f"{label}: {product}", after[product], start[product] if product in left_out else windows[product])


def main():
    mode, program, kvsim, rigs = sys.argv[1:5]
    work = tempfile.mkdtemp()
    if mode == "uvc":
        machine, scenarios = UvcRig(program, kvsim, work, *sys.argv[5:7]), (linux_commands,)
    else:
        machine = HostRig(program, kvsim, work) if mode == "host" else WineRig(program, kvsim, work, *sys.argv[5:9])
        scenarios = (demo_commands, program_path_never_a_command, families_commands, faulty_cameras,
                     concurrent_processes)
    try:
        for scenario in scenarios:
            scenario(machine, rigs, work)
    finally:
        machine.close()
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print(f"every command as expected ({mode})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
