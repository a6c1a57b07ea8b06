"""A link between two network namespaces of a test, through a TUN device in each,
relayed in user space so that it can be degraded on demand (this kernel has no netem).

  tun_relay.py NS_A ADDRESS_A NS_B ADDRESS_B CONTROL_FILE

Makes a point-to-point device "relay" in each namespace (ADDRESS_A in NS_A, its peer
ADDRESS_B in NS_B), prints "ready", and relays packets both ways until SIGTERM.
CONTROL_FILE holds "LOSS DELAY_MS", read whenever it changes: each packet, either way,
is dropped with that probability and the others held back that long. The drops follow
a fixed seed, so that a run can be told again."""
import ctypes
import fcntl
import heapq
import os
import random
import select
import signal
import struct
import subprocess
import sys
import time

TUNSETIFF = 0x400454CA
IFF_TUN, IFF_NO_PI = 0x0001, 0x1000
CLONE_NEWNET = 0x40000000
LIBC = ctypes.CDLL(None, use_errno=True)


def tun_in(namespace, address, peer):
    """The relay's device in a namespace of the test (made there, used from anywhere)."""
    handle = os.open(f"/run/netns/{namespace}", os.O_RDONLY)
    if LIBC.setns(handle, CLONE_NEWNET) != 0:
        sys.exit(f"tun_relay: cannot enter {namespace}: {os.strerror(ctypes.get_errno())}")
    os.close(handle)
    device = os.open("/dev/net/tun", os.O_RDWR)
    fcntl.ioctl(device, TUNSETIFF, struct.pack("16sH", b"relay", IFF_TUN | IFF_NO_PI))
    subprocess.run(["ip", "addr", "add", address, "peer", peer, "dev", "relay"], check=True)
    subprocess.run(["ip", "link", "set", "relay", "up"], check=True)
    return device


def main():
    ns_a, address_a, ns_b, address_b, control = sys.argv[1:6]
    a = tun_in(ns_a, address_a, address_b)
    b = tun_in(ns_b, address_b, address_a)
    other = {a: b, b: a}
    stopped = []
    signal.signal(signal.SIGTERM, lambda *_: stopped.append(True))
    randomly = random.Random(1)
    loss, delay, seen = 0.0, 0.0, None
    due = []  # (when, order, device, packet)
    order = 0
    print("ready", flush=True)
    while not stopped:
        changed = os.stat(control).st_mtime_ns
        if changed != seen:
            seen = changed
            with open(control) as settings:
                words = settings.read().split()
            loss, delay = float(words[0]), float(words[1]) / 1000
        now = time.monotonic()
        wait = min(0.1, max(0.0, due[0][0] - now)) if due else 0.1
        try:
            ready, _, _ = select.select([a, b], [], [], wait)
        except InterruptedError:
            continue
        for device in ready:
            packet = os.read(device, 65535)
            if randomly.random() >= loss:
                order += 1
                heapq.heappush(due, (time.monotonic() + delay, order, other[device], packet))
        now = time.monotonic()
        while due and due[0][0] <= now:
            _, _, device, packet = heapq.heappop(due)
            os.write(device, packet)


if __name__ == "__main__":
    main()
