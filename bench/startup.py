#!/usr/bin/env python3
"""Start-up to the first painted frame, and peak memory, of Kalvena against a bare Qt 6 window.

Both programs are built by the same CMake (targets first_frame and bare_window), run
alternately so that the machine's state weighs on both alike, on Qt's offscreen platform
unless a display is given. Prints the medians and their ratios, and the benchmark figures of
ui_bench.

    bench/startup.py <build directory> [runs]
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(exe, env):
    start = time.perf_counter()
    proc = subprocess.Popen([exe], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{exe} failed with status {status}")
    return elapsed, usage.ru_maxrss  # seconds, KiB


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    kalvena = os.path.join(build, "bench", "first_frame")
    bare = os.path.join(build, "bench", "bare_window")
    label = os.path.join(build, "bench", "bare_label_window")
    programs = (kalvena, bare, label)
    for exe in programs:  # warm the page cache
        run_once(exe, env)
    times = {exe: [] for exe in programs}
    memory = {exe: [] for exe in programs}
    for _ in range(runs):
        for exe in programs:
            t, m = run_once(exe, env)
            times[exe].append(t)
            memory[exe].append(m)
    tk, tb = statistics.median(times[kalvena]), statistics.median(times[bare])
    mk, mb = statistics.median(memory[kalvena]), statistics.median(memory[bare])
    print(f"platform {env['QT_QPA_PLATFORM']}, {runs} alternate runs each, medians")
    print(f"first frame: kalvena {tk * 1000:.1f} ms, bare window {tb * 1000:.1f} ms, "
          f"ratio {tk / tb:.3f} (target <= 1.15)")
    print(f"peak memory: kalvena {mk / 1024:.1f} MiB, bare window {mb / 1024:.1f} MiB, "
          f"ratio {mk / mb:.3f} (target <= 1.15)")
    tl, ml = statistics.median(times[label]), statistics.median(memory[label])
    print(f"for scale, a bare window with one label: {tl * 1000:.1f} ms "
          f"({tl / tb:.3f} x bare), {ml / 1024:.1f} MiB ({ml / mb:.3f} x bare)")
    bench = os.path.join(build, "bench", "ui_bench")
    out = subprocess.run([bench, "--benchmark_format=console"], env=env, capture_output=True,
                         text=True, check=True).stdout
    print(out.strip(), flush=True)
    print("targets: keystroke < 50 us, switch < 10 ms")


if __name__ == "__main__":
    main()
