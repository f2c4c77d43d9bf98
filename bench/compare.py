#!/usr/bin/env python3
"""Times tavorin against cat (and cmp, diff) on the same pairs of files.

Each program writes to a pseudo-terminal whose master side is drained as fast
as it allows, as a user's terminal would be. Rounds alternate between the
programs; the medians of the rounds, the per-round ratio to cat, the peak
resident memory and the number of write() calls are printed.

    bench/compare.py --tavorin build/app/tavorin [--size-mb 200] [--rounds 9]
"""
import argparse
import os
import pty
import random
import statistics
import subprocess
import sys
import termios
import time
import tty


def make_pair(directory, name, size, min_len, max_len, differ_last):
    """Two files of `size` bytes of printable lines, equal unless
    `differ_last`, in which case only their last lines differ."""
    a = os.path.join(directory, name + ".a")
    b = os.path.join(directory, name + ".b")
    if os.path.exists(a) and os.path.getsize(a) >= size:
        return a, b
    rng = random.Random(7)
    alphabet = bytes(range(32, 127))
    block = []
    written = 0
    with open(a, "wb") as fa:
        while written < size:
            n = rng.randint(min_len, max_len)
            line = bytes(rng.choice(alphabet) for _ in range(min(n, 64)))
            line = (line * (n // len(line) + 1))[:n] + b"\n"
            block.append(line)
            written += len(line)
            if len(block) >= 4096:
                fa.write(b"".join(block))
                block = []
        fa.write(b"".join(block))
    with open(a, "rb") as fa, open(b, "wb") as fb:
        data = fa.read()
        if differ_last:
            data = data[:-2] + b"#\n"
        fb.write(data)
    return a, b


def run_on_pty(argv, keys, cwd):
    """Runs argv with its stdio on a fresh pty, feeds `keys`, drains the
    output. Returns (seconds, bytes read, peak RSS in KiB, exit status)."""
    buffer = bytearray(1 << 20)
    master, slave = pty.openpty()
    tty.setraw(slave)  # no output processing: the bytes pass as written
    attrs = termios.tcgetattr(slave)
    attrs[3] |= termios.ICANON  # but input arrives in lines, as typed
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdin=slave, stdout=slave, stderr=slave, cwd=cwd,
                            close_fds=True)
    os.close(slave)
    if keys:
        os.write(master, keys)
    total = 0
    peak = 0
    sampled = start
    while True:
        try:
            n = os.readv(master, [buffer])
        except OSError:
            break
        if not n:
            break
        total += n
        now = time.perf_counter()
        if now - sampled > 0.02:  # sampling memory must not slow the drain
            peak = max(peak, peak_rss(proc.pid))
            sampled = now
    _, status, _ = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    os.close(master)
    return elapsed, total, peak, os.waitstatus_to_exitcode(status)


def peak_rss(pid):
    """The process's own peak resident size (VmHWM, KiB), read while it runs.
    The rusage of a child would also count the memory of the Python process
    it was forked from."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def count_writes(argv, keys, cwd):
    """write() calls made by the program, counted by strace in a separate
    run so that tracing does not slow the timed rounds."""
    out = "/tmp/tavorin-bench-strace.txt"
    elapsed, _, _, _ = run_on_pty(["strace", "-f", "-c", "-e", "trace=write,writev",
                                   "-o", out] + argv, keys, cwd)
    calls = 0
    with open(out) as f:
        for line in f:
            fields = line.split()
            if len(fields) >= 5 and fields[-1] in ("write", "writev"):
                calls += int(fields[3])
    return calls


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tavorin", required=True)
    parser.add_argument("--size-mb", type=int, default=200)
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--data", default="/tmp/tavorin-bench")
    args = parser.parse_args()
    os.makedirs(args.data, exist_ok=True)
    size = args.size_mb << 20
    tavorin = os.path.abspath(args.tavorin)

    pairs = [
        ("short lines, identical", make_pair(args.data, "short", size, 1, 119, False)),
        ("long lines, identical", make_pair(args.data, "long", size, 1000, 5000, False)),
        ("short lines, last differs", make_pair(args.data, "lastdiff", size, 1, 119, True)),
    ]
    print(f"{'case':28} {'program':8} {'median s':>9} {'min':>7} {'max':>7} "
          f"{'ratio':>6} {'rss KiB':>8} {'writes':>7}")
    for label, (a, b) in pairs:
        keys = f"{a}\n\n{b}\n\n\n".encode()
        programs = {
            "tavorin": ([tavorin], keys),
            "cat": (["cat", a, b], b""),
            "cmp": (["cmp", a, b], b""),
            "diff": (["diff", a, b], b""),
        }
        times = {name: [] for name in programs}
        rss = {name: 0 for name in programs}
        for _ in range(args.rounds):
            for name, (argv, k) in programs.items():
                elapsed, _, peak, _ = run_on_pty(argv, k, args.data)
                times[name].append(elapsed)
                rss[name] = max(rss[name], peak)
        ratios = [t / c for t, c in zip(times["tavorin"], times["cat"])]
        for name, (argv, k) in programs.items():
            writes = count_writes(argv, k, args.data)
            med = statistics.median(times[name])
            ratio = statistics.median([t / c for t, c in zip(times[name], times["cat"])])
            print(f"{label:28} {name:8} {med:9.3f} {min(times[name]):7.3f} "
                  f"{max(times[name]):7.3f} {ratio:6.3f} {rss[name]:8d} {writes:7d}")
        print(f"{'':28} tavorin/cat per round: "
              + " ".join(f"{r:.3f}" for r in ratios))
    return 0


if __name__ == "__main__":
    sys.exit(main())
