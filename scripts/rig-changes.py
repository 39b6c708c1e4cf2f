#!/usr/bin/env python3
"""Prints what changed in a simulated rig between two `kvsim dump` outputs:
one line per changed value, with its device's product id. The transport's
own bookkeeping (the bridge's I2C engine, the units' latches, bus pointers)
is left out.

    rig-changes.py BEFORE.json AFTER.json
"""
import json
import sys


def flatten(value, path, into):
    if isinstance(value, dict):
        for key, inner in value.items():
            flatten(inner, path + [str(key)], into)
    else:
        into[".".join(path)] = value


def bookkeeping(key):
    if key.startswith(("i2cEngine.", "bridgeXu.", "pluginXu.", "aveoXu.reply", "aveoXu.address", "usb.")):
        return True
    if key.endswith((".pointer", ".page")):
        return True
    return key.startswith("registers.0x10D")  # the I2C engine's registers


def main():
    before, after = (json.load(open(name)) for name in sys.argv[1:3])
    for old, new in zip(before["devices"], after["devices"]):
        flat_old, flat_new = {}, {}
        flatten(old, [], flat_old)
        flatten(new, [], flat_new)
        for key in sorted(flat_new):
            if flat_old.get(key) != flat_new[key] and not bookkeeping(key):
                value = flat_new[key]
                shown = f"0x{value:X}" if isinstance(value, int) else json.dumps(value)
                print(f"  {new['productId']} {key}: {shown}")


if __name__ == "__main__":
    main()
