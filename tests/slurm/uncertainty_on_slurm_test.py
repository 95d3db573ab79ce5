#!/usr/bin/env python3
"""The README's Slurm scripts on a one-node Slurm started for the test: a
four-share job array of kavrin-batch uncertainty and the merge that depends
on it give the very files of one run of all the realizations.
    uncertainty_on_slurm_test.py BIN_DIR EXAMPLES_DIR README
Exits 77 (ctest's skip) with the reason when Slurm cannot start here, unless
CI is set: there it must run, and not starting is a failure."""

import filecmp
import os
import signal
import subprocess
import sys
import tempfile
import time

from one_node_slurm import ClusterCannotStart, OneNodeSlurm

SKIP = 77
SCRIPTS = ("submit-uncertainty.sh", "uncertainty-share.sbatch", "uncertainty-merge.sbatch")
SHARES = 4

# A small grid and a few hundred realizations: seconds of computing in all.
MODEL = ["--set", "X1=200", "--set", "DX=10", "--set", "Y1=40", "--set", "DY=5",
         "--set", "T0=500", "--set", "T1=1500", "--set", "DT=500", "--set", "GaussOrder=20"]
UNCERTAINTY = ["--vary", "C0=lognormal:100,1.5", "--vary", "AlphaX=uniform:5,20", "--vary", "Porosity=triangular:0.1,0.2,0.3",
               "--standard", "0.5", "--threshold", "5", "--realizations", "300", "--seed", "7", "--lhs"]
RECEPTORS = "x,y,z\n50,0,0\n120,5,0\n"


def under_ci():
    return os.environ.get("CI", "").lower() not in ("", "0", "false", "no")


def stop_on_signal(signum, frame):
    raise SystemExit(f"stopped by signal {signum}")


class Failure(Exception):
    pass


def run(command, cwd, env):
    try:
        done = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True, timeout=60)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(command)} did not end within 60 s")
    if done.returncode != 0:
        raise Failure(f"{' '.join(command)} ended with {done.returncode}:\n{done.stdout}{done.stderr}")
    return done.stdout


def readme_shows_the_scripts(examples, readme):
    """The scripts a user copies from the README are the files this test submits."""
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    for name in SCRIPTS:
        with open(os.path.join(examples, name), encoding="utf-8") as f:
            script = f.read()
        if script not in text:
            raise Failure(f"the README does not show {name} as examples/slurm/{name} holds it")


def files_under(folder):
    found = []
    for root, _, names in os.walk(folder):
        found += [os.path.relpath(os.path.join(root, name), folder) for name in names]
    return sorted(found)


def same_files(merged, single):
    merged_files, single_files = files_under(merged), files_under(single)
    if merged_files != single_files:
        raise Failure(f"the merge wrote {merged_files}, one run {single_files}")
    if not any(name.endswith(".grd") for name in single_files) or "receptors.csv" not in single_files:
        raise Failure(f"one run wrote neither grids nor receptors.csv: {single_files}")
    for name in single_files:
        if not filecmp.cmp(os.path.join(merged, name), os.path.join(single, name), shallow=False):
            raise Failure(f"{name} of the merged shares differs from one run's")
    return single_files


def job_outputs(work):
    text = ""
    for name in sorted(os.listdir(work)):
        if name.endswith(".out"):
            with open(os.path.join(work, name), errors="replace") as f:
                text += f"--- {name}\n{f.read()}"
    return text


def on_slurm(cluster, work, examples, bin_dir, kavrin_env):
    env = dict(cluster.env, PATH=bin_dir + ":" + cluster.env["PATH"], KAVRIN_SHARES=str(SHARES), **kavrin_env)
    submitted = run([os.path.join(examples, "submit-uncertainty.sh"), "results", "--project", "project.kvr",
                     "--receptors", "receptors.csv"] + UNCERTAINTY, work, env).split()
    if len(submitted) != 2:
        raise Failure(f"submit-uncertainty.sh printed {submitted}, not the array's and the merge's job ids")
    why_not = cluster.wait_for_jobs(submitted, 180)
    if why_not:
        raise Failure(why_not + "\n" + job_outputs(work))
    states = cluster.job_states(submitted[0]) + cluster.job_states(submitted[1])
    if len(states) != SHARES + 1 or any(state != "COMPLETED" for _, state, _ in states):
        raise Failure(f"the jobs ended as {states}\n" + job_outputs(work))


def main(bin_dir, examples, readme):
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    started = time.monotonic()
    readme_shows_the_scripts(examples, readme)
    with tempfile.TemporaryDirectory(prefix="kavrin-slurm-jobs-") as work:
        kavrin_env = {"KAVRIN_ROOT": os.path.join(work, "workspace"), "KAVRIN_DECIMAL_SEPARATOR": "."}
        env = dict(os.environ, **kavrin_env)
        batch = os.path.join(bin_dir, "kavrin-batch")
        run([batch, "run"] + MODEL + ["--name", "Plume", "--save", "project.kvr"], work, env)
        with open(os.path.join(work, "receptors.csv"), "w") as f:
            f.write(RECEPTORS)
        run([batch, "uncertainty", "--project", "project.kvr", "--receptors", "receptors.csv"] + UNCERTAINTY +
            ["--to", "single"], work, env)
        try:
            cluster = OneNodeSlurm.started()
        except ClusterCannotStart as why:
            print("Slurm could not start here, so the cluster test did not run: " + str(why))
            if under_ci():
                print("CI is set: there the cluster test must run.")
                return 1
            return SKIP
        try:
            on_slurm(cluster, work, examples, bin_dir, kavrin_env)
        finally:
            cluster.stop()
        compared = same_files(os.path.join(work, "results"), os.path.join(work, "single"))
    print(f"{SHARES} shares on Slurm merged into one run's {len(compared)} files byte for byte "
          f"({', '.join(compared)}) in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    try:
        sys.exit(main(*[os.path.abspath(a) for a in sys.argv[1:]]))
    except Failure as failure:
        sys.exit(str(failure))
