#!/usr/bin/env python3
"""Whole-process benchmarks: verbalo-cli and the desktop app on large inputs,
side by side with the ICU entry pattern doing the least the same job needs.

    bench/whole.py [--rounds N] [--only NAME,...] [--build DIR] [--before DIR]

Inputs are generated once into BUILD/bench-cache/whole/ (make_big.py,
make_memory.py, ../shared/bench/make_corpus.py). Every job runs N times,
interleaved with the reference it is compared to, so that a noisy machine
slows both alike; the table gives the median wall time and the largest peak
resident memory of each. Jobs: rows (with rewrite), entries, fill, linear, gui.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def run(argv, env=None, stdout=subprocess.DEVNULL):
    """Runs argv to its end; returns (seconds, peak RSS in MB of 10^6 bytes, exit status)."""
    # stderr goes to a file: a pipe nobody reads would stall a chatty job.
    with tempfile.TemporaryFile() as log:
        start = time.monotonic()
        child = subprocess.Popen(argv, stdout=stdout, stderr=log, env=env)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.monotonic() - start
        child.returncode = os.waitstatus_to_exitcode(status)
        log.seek(0)
        err = log.read().decode(errors="replace")[-4000:]
    if child.returncode not in (0, 1):
        sys.exit(f"{' '.join(argv)} failed with {child.returncode}:\n{err}")
    # ru_maxrss counts KiB; the file sizes it is compared with are in MB.
    return seconds, usage.ru_maxrss * 1024 / 1e6, child.returncode


def size_mb(paths):
    return sum(os.path.getsize(p) for p in paths) / 1e6


def strings_below(folder):
    found = []
    for base, _, names in os.walk(folder):
        found += [os.path.join(base, n) for n in names if n.endswith(".strings")]
    return sorted(found)


class Bench:
    def __init__(self, args):
        self.build = os.path.abspath(args.build)
        self.bin = os.path.join(self.build, "bin")
        self.before = os.path.join(os.path.abspath(args.before), "bin") if args.before else None
        self.cache = os.path.join(self.build, "bench-cache", "whole")
        self.rounds = args.rounds
        self.scratch = tempfile.mkdtemp(prefix="verbalo-whole-")
        self.env = dict(os.environ)
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME"):
            path = os.path.join(self.scratch, name)
            os.makedirs(path)
            self.env[name] = path
        os.makedirs(self.cache, exist_ok=True)

    def tool(self, name):
        return os.path.join(self.bin, name)

    def cached(self, name, make):
        path = os.path.join(self.cache, name)
        if not os.path.exists(path):
            print(f"generating {name}…", file=sys.stderr)
            make(path + ".part")
            os.rename(path + ".part", path)
        return path

    def two_file_project(self):
        return self.cached("two-files", lambda out: subprocess.run(
            [sys.executable, os.path.join(HERE, "make_big.py"), "project", out,
             "--keys", "250000", "--languages", "en,de"], check=True))

    def single_file(self, megabytes):
        def make(out):
            target = os.path.join(out, "en.lproj", "Localizable.strings")
            os.makedirs(os.path.dirname(target))
            subprocess.run([sys.executable, os.path.join(HERE, "make_big.py"), "file", target,
                            "--megabytes", str(megabytes)], check=True)
        return self.cached(f"file-{megabytes}mb", make)

    def corpus(self):
        given = os.environ.get("VERBALO_BENCH_CORPUS")
        if given:
            return given
        # The same corpus verbalo-bench generates: 40 languages, 5 files, 2,000 keys.
        return self.cached("corpus-40x5x2000", lambda out: subprocess.run(
            [sys.executable, os.path.join(ROOT, "..", "shared", "bench", "make_corpus.py"), out,
             "--languages", "40", "--files", "5", "--keys", "2000"],
            check=True))

    def memory(self):
        def make(out):
            os.makedirs(out)
            subprocess.run([sys.executable, os.path.join(HERE, "make_memory.py"),
                            os.path.join(out, "memory.sqlite"), os.path.join(out, "project")], check=True)
        return self.cached("memory", make)

    def copy(self, folder):
        target = os.path.join(self.scratch, "copy")
        shutil.rmtree(target, ignore_errors=True)
        shutil.copytree(folder, target)
        return target

    def compare(self, title, jobs):
        """jobs: list of (label, prepare() -> argv). Runs them interleaved. With
        --before, every verbalo-cli job also runs with that build's verbalo-cli."""
        if self.before:
            ours, theirs = self.tool("verbalo-cli"), os.path.join(self.before, "verbalo-cli")
            jobs = jobs + [(label + " (before)",
                            lambda prepare=prepare: [theirs if a == ours else a for a in prepare()])
                           for label, prepare in jobs if label.startswith("verbalo-cli")]
        results = {label: [] for label, _ in jobs}
        for _ in range(self.rounds):
            for label, prepare in jobs:
                results[label].append(run(prepare(), env=self.env))
        # The best run beside the median: on a shared host other work only
        # ever adds time, so the best shows the program's own cost.
        print(f"\n{title}")
        print(f"  {'':<44} {'median':>8}    {'best':>8}    {'peak':>7}")
        reference = None
        for label, _ in jobs:
            seconds = statistics.median(r[0] for r in results[label])
            best = min(r[0] for r in results[label])
            peak = max(r[1] for r in results[label])
            ratio = ("" if reference is None else
                     f"  {seconds / reference[0]:5.2f}× the first, best {best / reference[1]:5.2f}×")
            reference = reference or (seconds, best)
            print(f"  {label:<44} {seconds * 1000:8.0f} ms {best * 1000:8.0f} ms {peak:7.0f} MB{ratio}")
        return results

    def rows(self):
        project = self.two_file_project()
        files = strings_below(project)
        print(f"\ntwo-file project: {size_mb(files):.1f} MB in {len(files)} files")
        rows = self.compare("rows: the ICU pattern parsing both files, then verbalo-cli rows", [
            ("verbalo-icu-parse (parse only)", lambda: [self.tool("verbalo-icu-parse")] + files),
            ("verbalo-cli rows", lambda: [self.tool("verbalo-cli"), "rows", project]),
            ("verbalo-cli rows (LC_ALL=C)",
             lambda: ["env", "LC_ALL=C", self.tool("verbalo-cli"), "rows", project]),
        ])
        peak = max(r[1] for r in rows["verbalo-cli rows"])
        print(f"  peak {peak / size_mb(files):.2f}× the files' bytes")
        self.compare("rewrite: the ICU parse, then verbalo-cli rewrite on a fresh copy", [
            ("verbalo-icu-parse (parse only)", lambda: [self.tool("verbalo-icu-parse")] + files),
            ("verbalo-cli rewrite", lambda: [self.tool("verbalo-cli"), "rewrite", self.copy(project)]),
        ])

    def entries(self):
        corpus = self.corpus()
        files = strings_below(corpus)
        print(f"\ncorpus: {size_mb(files):.1f} MB in {len(files)} files")
        self.compare("entries --json: the ICU pattern printing the same JSON, then verbalo-cli", [
            ("verbalo-icu-parse --json", lambda: [self.tool("verbalo-icu-parse"), "--json"] + files),
            ("verbalo-cli entries --json", lambda: [self.tool("verbalo-cli"), "entries", "--json"] + files),
        ])

    def fill(self):
        source = self.memory()
        data = os.path.join(self.env["XDG_DATA_HOME"], "com.brenquil.verbalo")
        os.makedirs(data, exist_ok=True)
        shutil.copy(os.path.join(source, "memory.sqlite"), os.path.join(data, "i18n-v2.sqlite"))
        project = os.path.join(source, "project")
        # The first run builds the memory's index; time the ones after it.
        run([self.tool("verbalo-cli"), "fill", self.copy(project)], env=self.env)
        results = self.compare("fill: 2,000 rows from a 200,000-record memory", [
            ("verbalo-cli fill", lambda: [self.tool("verbalo-cli"), "fill", self.copy(project)]),
        ])
        per_row = statistics.median(r[0] for r in results["verbalo-cli fill"]) / 2000 * 1000
        print(f"  {per_row:.2f} ms a row")

    def linear(self):
        small, large = self.single_file(25), self.single_file(100)
        for folder in (small, large):
            print(f"\n{os.path.basename(folder)}: {size_mb(strings_below(folder)):.1f} MB")
        results = self.compare("rewrite of one 25 MB file, then of one 100 MB file", [
            ("verbalo-cli rewrite 25 MB", lambda: [self.tool("verbalo-cli"), "rewrite", self.copy(small)]),
            ("verbalo-cli rewrite 100 MB", lambda: [self.tool("verbalo-cli"), "rewrite", self.copy(large)]),
        ])
        peak = max(r[1] for r in results["verbalo-cli rewrite 100 MB"])
        print(f"  peak {peak / size_mb(strings_below(large)):.1f}× the 100 MB file's bytes")

    def gui(self):
        program = self.tool("verbalo-bench-gui")
        if not os.path.exists(program):
            print("\ngui: verbalo-bench-gui was not built", file=sys.stderr)
            return
        print("\ngui: the desktop app opening the two-file project offscreen")
        for _ in range(self.rounds):
            subprocess.run([program, self.two_file_project()], env=self.env, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--only", default="rows,entries,fill,linear,gui")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--before", help="another build folder whose verbalo-cli runs beside this one")
    args = parser.parse_args()
    jobs = args.only.split(",")
    unknown = [name for name in jobs if name not in ("rows", "entries", "fill", "linear", "gui")]
    if unknown:
        parser.error(f"no job {', '.join(unknown)}: the jobs are rows (with rewrite), entries, fill, linear, gui")
    bench = Bench(args)
    try:
        for name in jobs:
            getattr(bench, name)()
    finally:
        shutil.rmtree(bench.scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
