#!/usr/bin/python3
"""Times quorvel-cli against the floor of the same work and prints the ratios.

Called by bench/run, which builds the programs first. Every figure is the
median of RUNS whole-process wall times; the two sides of a ratio are measured
in turn, run by run, so that a slow moment of the machine hits both.
"""

import argparse
import glob
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run_once(cmd, cwd):
    """Wall time and CPU time (user + system) in seconds, peak resident set
    size in KiB and exit code of one run."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, proc.returncode


class Figure:
    def __init__(self):
        self.times = []
        self.cpu_times = []
        self.rss = 0
        self.codes = set()

    def add(self, result):
        elapsed, cpu, rss, code = result
        self.times.append(elapsed)
        self.cpu_times.append(cpu)
        self.rss = max(self.rss, rss)
        self.codes.add(code)

    @property
    def median(self):
        return statistics.median(self.times)

    @property
    def cpu_median(self):
        return statistics.median(self.cpu_times)


def compare(runs, cwd, *commands, before=None):
    """Runs the commands in turn, RUNS times, after one untimed warm-up each."""
    figures = [Figure() for _ in commands]
    for cmd in commands:
        if before:
            before()
        run_once(cmd, cwd)
    for _ in range(runs):
        for cmd, figure in zip(commands, figures):
            if before:
                before()
            figure.add(run_once(cmd, cwd))
    return figures


def empty_config(folder):
    """A configuration file without keys: the tool's defaults, never the user's."""
    path = os.path.join(folder, "empty.ini")
    os.makedirs(folder, exist_ok=True)
    open(path, "w").close()
    return path


def make_group(folder, count):
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    subprocess.run([sys.executable, os.path.join(HERE, "make_group.py"), folder, str(count)], check=True)
    return os.path.join(folder, "Bench.groupproj")


def ms(seconds):
    return "%8.1f ms" % (seconds * 1000)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--shell-loop", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--compiler", default="/bin/true")
    parser.add_argument("--real-compiler", default="/usr/bin/llvm-rc")
    parser.add_argument("--real-projects", type=int, default=200)
    parser.add_argument("--real-runs", type=int, default=3)
    parser.add_argument("--projects", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--out", required=True)
    a = parser.parse_args()
    # The commands run in the group folder.
    for name in ("cli", "floor", "shell_loop", "template", "out"):
        setattr(a, name, os.path.abspath(getattr(a, name)))
    if os.path.exists(a.compiler):
        a.compiler = os.path.abspath(a.compiler)

    n = a.projects
    folder = os.path.join(a.out, "group%d" % n)
    group = make_group(folder, n)
    config = ["--config", empty_config(folder)]
    cli = [a.cli] + config
    project_files = sorted(glob.glob(os.path.join(folder, "Mod*", "*.dproj")))
    size_kb = sum(os.path.getsize(f) for f in project_files) / len(project_files) / 1024
    rows = []

    def row(label, quorvel, floor, goal, ok, note=""):
        rows.append((label, quorvel, floor, goal, "met" if ok else "MISSED", note))

    # 1. Reading: a group opened for the first time (no settings file yet), so
    # that every project file is read, against cat of the same files.
    settings = os.path.join(folder, "Bench.vprj")
    lst, cat = compare(a.runs, folder, cli + ["list", group, "--json"], ["cat", group] + project_files)
    r = lst.median / cat.median
    row("list --json vs cat (group + %d project files)" % n, ms(lst.median), ms(cat.median),
        "<= 2x", r <= 2, "%.2fx" % r)
    list_rss = lst.rss

    # The settings file as the window writes it; the values come from the
    # project files, as the shell loop's do.
    subprocess.run(cli + ["set", group, "Author=Build Team"], check=True, stdout=subprocess.DEVNULL)
    (lst_saved,) = compare(a.runs, folder, cli + ["list", group, "--json"])

    # 2. Building: 2 scripts and 2 compiler runs per project.
    values = os.path.join(folder, "values.tsv")
    build_cmd = cli + ["build", group, "--template", a.template, "--compiler", a.compiler]
    floor_cmd = [a.floor, folder, values, a.template, a.compiler]
    loop_cmd = [a.shell_loop, folder, values, os.path.join(folder, "group.tsv"), a.template, a.compiler]
    build, floor, loop = compare(a.runs, folder, build_cmd, floor_cmd, loop_cmd)
    # What the tool adds to each compile over a bare posix_spawn and wait of
    # the same compiler: a fixed cost per compile, not a share of its time.
    added = (build.median - floor.median) / (2 * n) * 1000
    row("build (%d scripts, %s) vs floor program" % (2 * n, a.compiler), ms(build.median),
        ms(floor.median), "<= 0.5 ms/compile", added <= 0.5, "+%.3f ms" % added)
    r = loop.median / build.median
    row("build vs bash + sed loop", ms(build.median), ms(loop.median), ">= 2x faster", r >= 2,
        "%.2fx faster" % r)
    build_rss = build.rss

    # 2b. Building with a real resource compiler, one at a time against one
    # per core: the same log byte for byte, and faster by the cores at hand.
    if os.path.exists(a.real_compiler):
        rn = a.real_projects
        rfolder = os.path.join(a.out, "real%d" % rn)
        rgroup = make_group(rfolder, rn)
        rcli = [a.cli, "--config", empty_config(rfolder)]
        # The values hold non-ASCII text, which llvm-rc reads only escaped.
        rbuild = rcli + ["build", rgroup, "--template", a.template, "--compiler",
                         a.real_compiler, "--escape-values"]
        seq, par = compare(a.real_runs, rfolder, rbuild + ["-j", "1"], rbuild + ["-j", "0"])
        outputs = [subprocess.run(cmd, cwd=rfolder, capture_output=True)
                   for cmd in (rbuild + ["-j", "1"], rbuild + ["-j", "0"])]
        same = (outputs[0].stdout == outputs[1].stdout and outputs[0].stderr == outputs[1].stderr
                and outputs[0].returncode == outputs[1].returncode)
        clean = outputs[0].returncode == 0 and b"*** Error" not in outputs[0].stdout
        r = seq.median / par.median
        row("build -j 0 vs -j 1 (%d scripts, %s, %d cores)" % (2 * rn, os.path.basename(a.real_compiler),
                                                            os.cpu_count()),
            ms(par.median), ms(seq.median), ">= 1.8x faster", r >= 1.8 and same and clean,
            "%.2fx faster" % r)
        row("build -j 0 log identical to -j 1 (%d bytes)" % len(outputs[0].stdout), "", "",
            "identical", same and clean, "yes" if same else "NO")
        real_codes = (sorted(seq.codes), sorted(par.codes))
    else:
        row("build -j 0 vs -j 1: %s not found" % a.real_compiler, "", "", ">= 1.8x faster", False)
        real_codes = None

    # 3. Saving: set on every project against copying the settings file; the
    # same for a group twice the size.
    set_figures = {}
    for count in (n, 2 * n):
        f = folder if count == n else os.path.join(a.out, "group%d" % count)
        g = group if count == n else make_group(f, count)
        c = [a.cli, "--config", empty_config(f)]
        s = os.path.join(f, "Bench.vprj")
        if count != n:
            subprocess.run(c + ["set", g, "Author=Build Team"], check=True, stdout=subprocess.DEVNULL)
        # A few tens of milliseconds each: more runs keep the growth figure
        # steady on a busy machine.
        st, cp = compare(max(a.runs, 11), f, c + ["set", g, "--all", "fvBuild=7"],
                         ["cp", s, s + ".copy"])
        set_figures[count] = (st, cp, os.path.getsize(s))
        r = st.median / cp.median
        row("set --all fvBuild=7 (%d projects, %d KB) vs cp" % (count, os.path.getsize(s) // 1024),
            ms(st.median), ms(cp.median), "linear", True, "%.1fx" % r)
    # The growth is judged on CPU time: the wall time of a save this short
    # also holds the disk's flush of the new file, which varies by tens of
    # milliseconds from run to run on a shared machine.
    growth = set_figures[2 * n][0].cpu_median / set_figures[n][0].cpu_median
    row("set: %d / %d projects, CPU time %s / %s" % (2 * n, n, ms(set_figures[2 * n][0].cpu_median).strip(),
                                                   ms(set_figures[n][0].cpu_median).strip()),
        "", "", "about 2x (linear)", growth <= 2.4, "%.2fx" % growth)
    wall_growth = set_figures[2 * n][0].median / set_figures[n][0].median

    # 4. Memory.
    row("peak RSS list (%d projects)" % n, "%8.1f MB" % (list_rss / 1024), "", "<= 60 MB",
        list_rss <= 60 * 1024)
    row("peak RSS build (%d projects)" % n, "%8.1f MB" % (build_rss / 1024), "", "<= 60 MB",
        build_rss <= 60 * 1024)

    print()
    print("quorvel-cli, %d projects of %.1f KB, median of %d runs (%s)" %
          (n, size_kb, a.runs, time.strftime("%Y-%m-%d %H:%M")))
    print("%-52s %11s %11s %8s %-18s %s" % ("", "quorvel", "floor", "ratio", "goal", ""))
    for label, q, f, goal, verdict, note in rows:
        print("%-52s %11s %11s %8s %-18s %s" % (label, q, f, note, goal, verdict))
    print()
    print("list --json with the settings file written: %s (peak RSS %.1f MB)" %
          (ms(lst_saved.median).strip(), lst_saved.rss / 1024))
    print("set, wall-time growth %d / %d projects: %.2fx" % (2 * n, n, wall_growth))
    print("exit codes: list %s, build %s, floor %s, loop %s" %
          (sorted(lst.codes), sorted(build.codes), sorted(floor.codes), sorted(loop.codes)))
    if real_codes:
        print("exit codes with %s: -j 1 %s, -j 0 %s" % (a.real_compiler, real_codes[0], real_codes[1]))
    return 0 if all(r[4] == "met" for r in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
