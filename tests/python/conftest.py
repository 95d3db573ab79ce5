"""The module under test is the build's (PYTHONPATH), the batch tool beside it (KAVRIN_BATCH)."""
import os
import subprocess

import pytest


@pytest.fixture(autouse=True)
def plain_locale(monkeypatch):
    """The module in this process follows the same decimal separator rule as the batch tool it is compared with."""
    monkeypatch.setenv("LANG", "C")
    monkeypatch.setenv("LC_ALL", "C")
    monkeypatch.delenv("KAVRIN_DECIMAL_SEPARATOR", raising=False)


@pytest.fixture
def batch(tmp_path):
    """Runs kavrin-batch with the workspace in tmp_path; returns (code, stdout, stderr)."""
    def run(*words):
        environment = dict(os.environ, KAVRIN_ROOT=str(tmp_path / "batch-root"), LANG="C", LC_ALL="C")
        done = subprocess.run([os.environ["KAVRIN_BATCH"], *words], capture_output=True, text=True, env=environment)
        return done.returncode, done.stdout, done.stderr
    run.root = tmp_path / "batch-root"
    return run


def read_time_file(path):
    """A time file's values parsed back, rows as written."""
    with open(path, "rb") as f:
        return [[float(v) for v in line.split()] for line in f.read().decode("ascii").split("\r\n") if line.strip()]
