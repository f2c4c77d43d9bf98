#!/usr/bin/env python3
"""Times the directory listing against find -L on the same tree.

The tree has 100,000 files in 2,000 directories (20% of them .txt) and some
symbolic links, to files and to directories. Both programs write to
/dev/null with a warm cache; rounds alternate, and medians are printed.

    bench/listing.py --listing build/examples/listing [--rounds 9]
"""
import argparse
import os
import random
import statistics
import subprocess
import sys
import time


def make_tree(root, directories=2000, files=100000):
    marker = os.path.join(root, ".complete")
    if os.path.exists(marker):
        return
    rng = random.Random(3)
    dirs = [root]
    for i in range(directories - 1):
        parent = dirs[rng.randrange(len(dirs))] if len(dirs) < 50 else rng.choice(dirs[-200:])
        path = os.path.join(parent, f"d{i:04d}")
        os.makedirs(path, exist_ok=True)
        dirs.append(path)
    for i in range(files):
        d = dirs[i % len(dirs)]
        ext = ".txt" if rng.random() < 0.2 else rng.choice([".c", ".h", ".doc", ".TXT", ""])
        with open(os.path.join(d, f"f{i:06d}{ext}"), "w") as f:
            f.write("x")
    for i in range(200):  # links to files and to directories
        d = rng.choice(dirs)
        target = rng.choice(dirs)
        os.symlink(os.path.abspath(target), os.path.join(d, f"ldir{i:03d}"))
        os.symlink("f000000.txt", os.path.join(d, f"lfile{i:03d}.txt"))
    open(marker, "w").close()


def timed(argv):
    start = time.perf_counter()
    subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--listing", required=True)
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--tree", default="/tmp/tavorin-bench-tree")
    args = parser.parse_args()
    os.makedirs(args.tree, exist_ok=True)
    make_tree(args.tree)
    programs = {
        "listing": [os.path.abspath(args.listing), "-r", args.tree, "*.txt"],
        "find -L": ["find", "-L", args.tree, "-name", "*.txt"],
    }
    for argv in programs.values():  # warm the cache
        timed(argv)
    times = {name: [] for name in programs}
    for _ in range(args.rounds):
        for name, argv in programs.items():
            times[name].append(timed(argv))
    ratios = [a / b for a, b in zip(times["listing"], times["find -L"])]
    for name in programs:
        t = times[name]
        print(f"{name:8} median {statistics.median(t):.3f}s  min {min(t):.3f}  max {max(t):.3f}")
    print("listing/find per round: " + " ".join(f"{r:.2f}" for r in ratios)
          + f"  median {statistics.median(ratios):.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
