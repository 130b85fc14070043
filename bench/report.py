#!/usr/bin/env python3
"""report.py RUN_FOLDER RESULTS_MD SECONDS

Reads what scripts/bench measured into RUN_FOLDER, prints the table of
figures with their targets, and writes it, with the machine and the date,
to RESULTS_MD. SECONDS is how long scripts/bench had taken by then.

Every figure is a ratio or a count taken side by side in one run, so the
targets hold on a noisy machine; the absolute times are there to read the
ratios by, not to compare across machines.
"""

import datetime
import json
import os
import platform
import statistics
import sys

# DLLs that every Windows from 7 on has in its system folder. The C runtime
# of the Universal CRT (ucrtbase, api-ms-win-crt-*) is not among them: Windows
# 7 and 8.1 have it only with an update.
SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll",
    "dwmapi.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll", "iphlpapi.dll",
    "kernel32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "secur32.dll", "setupapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll",
    "winmm.dll", "winspool.drv", "ws2_32.dll",
}

EXE_LIMIT = 400 * 1024
CODEC_EXE_LIMIT = 1024 * 1024


def read(folder, name):
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        return f.read()


def mark(ok):
    return "pass" if ok else "**FAIL**"


def overhead(folder, name):
    """Median manual time per run (in microseconds) of each benchmark."""
    data = json.loads(read(folder, name + ".json"))
    medians = {}
    for entry in data["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            medians[entry["run_name"].split("/")[0]] = entry["real_time"]
        if entry.get("error_occurred"):
            sys.exit(f"report.py: {entry['name']}: {entry.get('error_message')}")
    return medians, read(folder, name + ".where").strip()


def hyperfine(folder, name):
    """Median and standard deviation, in seconds, of each named command."""
    data = json.loads(read(folder, name))
    return {r["command"]: (r["median"], r["stddev"]) for r in data["results"]}


def numbers(folder, name):
    return [int(line) for line in read(folder, name).split()]


def machine():
    model = "unknown CPU"
    cores = 0
    with open("/proc/cpuinfo", encoding="utf-8") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key.strip() == "model name":
                model = value.strip()
                cores += 1
    u = platform.uname()
    return f"{u.system} {u.release} {u.machine} ({u.node})", f"{model}, {cores} logical CPUs"


def runs(folder, name):
    """Median CPU seconds (user + system) and peak RSS (KiB) of the runs."""
    cpu, rss = [], []
    for line in read(folder, name).splitlines():
        user, system, kib = line.split()
        cpu.append(float(user) + float(system))
        rss.append(int(kib))
    return statistics.median(cpu), statistics.median(rss)


def codec_rows(folder, row):
    native_60 = None
    for seconds, label in ((60, "60 s"), (600, "10 min")):
        (native, native_kib) = runs(folder, f"codec_native_{seconds}.txt")
        (node, node_kib) = runs(folder, f"codec_node_{seconds}.txt")
        if seconds == 60:
            native_60 = native
        row(f"6 Native encoder CPU time / Node encoder, {label} of speech",
            f"{native:.2f} s / {node:.2f} s", f"{native / node:.3f}", "≤ 0.9",
            native / node <= 0.9)
        row(f"6 Native encoder peak RSS / Node encoder, {label}",
            f"{native_kib} KiB / {node_kib} KiB", f"{native_kib / node_kib:.3f}", "≤ 0.5",
            native_kib / node_kib <= 0.5)
        same = read(folder, f"codec_same_{seconds}.txt").strip()
        row(f"6 … native and Node files, {label}", same, same, "same", same == "same")
    wine, _ = runs(folder, "codec_wine_60.txt")
    same = read(folder, "codec_wine_same.txt").strip()
    row("6 Windows encoder under Wine (qemu, emulated) / Linux native, 60 s",
        f"{wine:.2f} s / {native_60:.2f} s, files {same}", f"{wine / native_60:.1f}",
        "(explains)", None)
    size = int(read(folder, "codec_exe_size.txt"))
    row("6 build/windows/codec/silk_v3_encoder.exe size", f"{size} bytes",
        f"{size / 1024:.0f} KiB", "≤ 1 MiB", size <= CODEC_EXE_LIMIT)
    dlls = [line.split(":", 1)[1].strip()
            for line in read(folder, "codec_exe_imports.txt").splitlines() if "DLL Name:" in line]
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    row("6 DLLs silk_v3_encoder.exe imports", ", ".join(dlls),
        f"{len(dlls)}, {len(foreign)} not system", "0 not system", not foreign)


def build(folder, seconds):
    rows = []

    def row(what, measured, figure, target, ok):
        rows.append((what, measured, figure, target, "" if ok is None else mark(ok)))

    # 1. The job against its two stand-ins started directly.
    for name in ("overhead_disk", "overhead_memory"):
        if not os.path.exists(os.path.join(folder, name + ".json")):
            continue
        m, where = overhead(folder, name)
        job, direct, reserved = m["BM_Job"], m["BM_Baseline"], m["BM_BaselineWithReservedNames"]
        ratio = job / direct
        row(f"1 Job overhead, stand-in tools, folder on {where}",
            f"job {job:.0f} µs / direct {direct:.0f} µs",
            f"{ratio:.3f}", "≤ 1.05", ratio <= 1.05)
        row(f"1 … direct with the name reserved first, on {where}",
            f"{reserved:.0f} µs / direct {direct:.0f} µs",
            f"{reserved / direct:.3f}", "(explains)", None)

    # 2. End to end, the real tools.
    for seconds_of_audio, label in ((60, "60 s"), (600, "10 min")):
        r = hyperfine(folder, f"e2e_{seconds_of_audio}.json")
        (job, job_sd), (shell, shell_sd) = r["job"], r["shell"]
        ratio = job / shell
        row(f"2 End to end, {label} of speech",
            f"job {job:.3f} s ±{job_sd:.3f} / shell {shell:.3f} s ±{shell_sd:.3f}",
            f"{ratio:.3f}", "≤ 1.02", ratio <= 1.02)
        row(f"2 … audio encoded per second of wall time, {label}",
            f"{seconds_of_audio} s / {job:.3f} s", f"{seconds_of_audio / job:.1f} s/s", "", None)
        if os.path.exists(os.path.join(folder, f"disk_job_{seconds_of_audio}.txt")):
            # Sectors of 512 bytes; the least of the runs, as other writers only add.
            job_mib, shell_mib = (
                min(numbers(folder, f"disk_{side}_{seconds_of_audio}.txt")) * 512 / 2**20
                for side in ("job", "shell"))
            row(f"2 … written to disk while one run lasts, {label}",
                f"job {job_mib:.1f} MiB / shell {shell_mib:.1f} MiB",
                f"{job_mib - shell_mib:+.1f} MiB", "(explains)", None)

    # 3. The job's own peak memory.
    short = statistics.median(numbers(folder, "mem_60.txt"))
    long = statistics.median(numbers(folder, "mem_600.txt"))
    ratio = long / short
    row("3 Job's own peak RSS, 10 min / 60 s",
        f"{long:.0f} KiB / {short:.0f} KiB", f"{ratio:.3f}", "≤ 1.05", ratio <= 1.05)

    # 4. The Windows program.
    size = int(read(folder, "exe_size.txt"))
    row("4 build/windows/tosilk.exe size",
        f"{size} bytes", f"{size / 1024:.0f} KiB", "< 400 KiB", size < EXE_LIMIT)
    dlls = [line.split(":", 1)[1].strip() for line in read(folder, "exe_imports.txt").splitlines()
            if "DLL Name:" in line]
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    listed = ", ".join(f"{d} ({'system' if d.lower() in SYSTEM_DLLS else 'NOT system'})"
                       for d in dlls)
    row("4 DLLs tosilk.exe imports", listed, f"{len(dlls)}, {len(foreign)} not system",
        "0 not system", not foreign)

    # 5. Start-up to a mapped window.
    r = hyperfine(folder, "startup.json")
    (tosilk, tosilk_sd), (empty, empty_sd), (label, label_sd) = (
        r["tosilk"], r["minimal_qt"], r["minimal_qt label"])
    ratio = tosilk / empty
    row("5 Start-up to mapped window, tosilk / empty QWidget",
        f"{tosilk * 1000:.1f} ms ±{tosilk_sd * 1000:.1f} / {empty * 1000:.1f} ms "
        f"±{empty_sd * 1000:.1f}", f"{ratio:.3f}", "≤ 1.2", ratio <= 1.2)
    row("5 … tosilk / QWidget with one QLabel",
        f"{tosilk * 1000:.1f} ms / {label * 1000:.1f} ms ±{label_sd * 1000:.1f}",
        f"{tosilk / label:.3f}", "(explains)", None)

    # 6. The native SILK encoder against the Node one.
    if os.path.exists(os.path.join(folder, "codec_native_60.txt")):
        codec_rows(folder, row)

    system, cpu = machine()
    now = datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z")
    lines = [
        "# Benchmark results",
        "",
        f"- Machine: {system}",
        f"- CPU: {cpu}",
        f"- Date: {now}",
        f"- scripts/bench took {seconds} s",
        "",
        "| Benchmark | Measured (medians) | Figure | Target | |",
        "|---|---|---|---|---|",
    ]
    lines += ["| " + " | ".join(cells) + " |" for cells in rows]
    lines += [
        "",
        "Rows marked \"(explains)\" have no target; each sets one more program",
        "beside the measured pair, in the same run, to show where a difference",
        "comes from:",
        "",
        "- 1: the direct run of the stand-ins, but with BASE.silk created empty",
        "  first, as the job does to own the name; the encoder then replaces an",
        "  existing file instead of making a new one.",
        "- 2: the bytes written to the disk of the program folder from the start",
        "  to the end of one run (the least of three runs), by the job and by the",
        "  shell. Data written later, after the run, is not counted.",
        "- 5: a QWidget holding one QLabel. The first widget with text makes Qt",
        "  load its font database (fontconfig), which an empty window never does.",
        "- 6: the Windows build's encoder under Wine. On this machine Wine runs",
        "  32-bit code through qemu-i386, so the ratio is that of emulated code",
        "  with software bounds checks against native code with guard pages,",
        "  not of a Windows machine.",
    ]
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: report.py RUN_FOLDER RESULTS_MD SECONDS")
    folder, results, seconds = sys.argv[1:]
    text = build(folder, seconds)
    with open(results, "w", encoding="utf-8") as f:
        f.write(text)
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
