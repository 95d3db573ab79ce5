#!/usr/bin/env python3
"""A four-task job array and a job that depends on it, on a one-node Slurm
started for the test. Exits 77 (ctest's skip) with the reason when Slurm
cannot start here, unless CI is set: there it must run."""

import os
import signal
import sys
import tempfile

from one_node_slurm import ClusterCannotStart, OneNodeSlurm

SKIP = 77


def under_ci():
    return os.environ.get("CI", "").lower() not in ("", "0", "false", "no")


def stop_on_signal(signum, frame):
    raise SystemExit(f"stopped by signal {signum}")


def main():
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    with tempfile.TemporaryDirectory(prefix="kavrin-slurm-jobs-") as work:
        try:
            cluster = OneNodeSlurm().__enter__()
        except ClusterCannotStart as why:
            message = "Slurm could not start here, so the cluster test did not run: " + str(why)
            if under_ci():
                print(message + "\n(CI is set: the test must run there.)")
                return 1
            print(message)
            return SKIP
        try:
            array = cluster.submit(["sbatch", "--parsable", "--array=1-4", "--wrap",
                                    "hostname > task-$SLURM_ARRAY_TASK_ID.txt"], work)
            assert array.returncode == 0, array.stderr
            array_id = array.stdout.strip().split(";")[0]
            after = cluster.submit(["sbatch", "--parsable", f"--dependency=afterok:{array_id}", "--wrap",
                                    "cat task-1.txt task-2.txt task-3.txt task-4.txt > all.txt"], work)
            assert after.returncode == 0, after.stderr
            after_id = after.stdout.strip().split(";")[0]
            assert cluster.wait_for_jobs([array_id, after_id], 120), "the jobs did not end within 120 s"
            states = cluster.job_states(array_id) + cluster.job_states(after_id)
            assert all(state == "COMPLETED" for _, state, _ in states), states
            with open(os.path.join(work, "all.txt")) as f:
                assert len(f.read().split()) == 4
        finally:
            cluster.__exit__(None, None, None)
    print("the array and its dependent job ran on a one-node Slurm")
    return 0


if __name__ == "__main__":
    sys.exit(main())
