#!/usr/bin/env python3
"""Start-up to the first painted frame, and peak memory, of Kalvena against a bare Qt 6 window
that shows one line of text, and the instructions each executes (where valgrind is installed).

Both programs are built by the same CMake (targets first_frame and bare_label_window), run
alternately so that the machine's state weighs on both alike, on Qt's offscreen platform
unless a display is given. Prints the medians and their ratios, and the benchmark figures of
ui_bench.

    bench/startup.py <build directory> [runs]
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(exe, env):
    start = time.perf_counter()
    proc = subprocess.Popen([exe], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{exe} failed with status {status}")
    return elapsed, usage.ru_maxrss  # seconds, KiB


def instructions(exe, env):
    """Instructions the program executes, counted by callgrind: unlike time, the same on every
    run, so that a change of a few per cent shows."""
    with tempfile.TemporaryDirectory() as folder:
        out = subprocess.run(["valgrind", "--tool=callgrind",
                              f"--callgrind-out-file={folder}/callgrind.out", exe], env=env,
                             capture_output=True, text=True, check=True).stderr
    return int(re.search(r"Collected : (\d+)", out).group(1))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    kalvena = os.path.join(build, "bench", "first_frame")
    label = os.path.join(build, "bench", "bare_label_window")
    programs = (kalvena, label)
    for exe in programs:  # warm the page cache
        run_once(exe, env)
    times = {exe: [] for exe in programs}
    memory = {exe: [] for exe in programs}
    for _ in range(runs):
        for exe in programs:
            t, m = run_once(exe, env)
            times[exe].append(t)
            memory[exe].append(m)
    tk, tl = statistics.median(times[kalvena]), statistics.median(times[label])
    mk, ml = statistics.median(memory[kalvena]), statistics.median(memory[label])
    # Each pair ran back to back, so its ratio carries less of the machine's drift than the
    # ratio of the medians does.
    paired = statistics.median(k / l for k, l in zip(times[kalvena], times[label]))
    print(f"platform {env['QT_QPA_PLATFORM']}, {runs} alternate pairs, medians")
    print(f"first frame: kalvena {tk * 1000:.1f} ms, a window with one line of text "
          f"{tl * 1000:.1f} ms, ratio {tk / tl:.3f}, median ratio of a pair {paired:.3f} "
          f"(limit 1.25)")
    print(f"peak memory: kalvena {mk / 1024:.1f} MiB, a window with one line of text "
          f"{ml / 1024:.1f} MiB, ratio {mk / ml:.3f} (limit 1.07)")
    if shutil.which("valgrind"):
        ik, il = instructions(kalvena, env), instructions(label, env)
        print(f"instructions to the first frame: kalvena {ik / 1e6:.1f} M, a window with one "
              f"line of text {il / 1e6:.1f} M, ratio {ik / il:.3f} (limit 1.45)")
    else:
        print("instructions to the first frame: not counted (valgrind is not installed)")
    bench = os.path.join(build, "bench", "ui_bench")
    out = subprocess.run([bench, "--benchmark_format=console"], env=env, capture_output=True,
                         text=True, check=True).stdout
    print(out.strip(), flush=True)
    print("targets: keystroke < 50 us, switch < 10 ms, response window opened or redrawn < 16 ms")


if __name__ == "__main__":
    main()
