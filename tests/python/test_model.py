"""kavrin.Model, field and points against the batch tool's files and each other."""
import ctypes
import os
import signal
import struct
import subprocess
import sys
import threading

import numpy as np
import pytest

import kavrin
from conftest import read_time_file

# Grids and orders: (keyword values, times).
CASES = [
    ({"GaussOrder": 4}, (2500,)),
    ({"GaussOrder": 20, "T0": 100, "T1": 300, "DT": 100}, (100, 200, 300)),
    ({"GaussOrder": 104, "X0": -5, "X1": 40, "DX": 0.5, "Y0": -12, "Y1": 12, "DY": 0.75}, (2500,)),
    ({"GaussOrder": 256, "C0": 1000, "AlphaX": 10, "Decay": 0.001, "T0": 50, "T1": 150, "DT": 100}, (50, 150)),
    ({"GaussOrder": 60, "SourceHistory": "steps", "SourceSteps": "0 1|200 0.25", "T0": 100, "T1": 400, "DT": 300}, (100, 400)),
    ({"GaussOrder": 60, "SourceZones": "4 0 5 2 3", "PlaneZ": 0.5}, (2500,)),
]


@pytest.mark.parametrize("parameters,times", CASES)
def test_field_equals_the_batch_run_time_files(batch, parameters, times):
    sets = [w for name, value in parameters.items() for w in ("--set", f"{name}={value}")]
    code, out, err = batch("run", "--name", "case", *sets)
    assert code == 0, err
    model = kavrin.Model(**parameters)
    for t in times:
        written = np.array(read_time_file(batch.root / "case" / f"T{t}.txt"))
        field = model.field(float(t))
        assert field.shape == written.shape
        assert np.array_equal(field, written)


def strongest_source(model):
    """The highest concentration of the source's zones (mg/L)."""
    zones = dict(model.texts()).get("SourceZones", "")
    return max([model.C0] + [float(zone.split()[4]) for zone in zones.split("|") if zone.strip()])


@pytest.mark.parametrize("parameters,times", CASES)
def test_points_equal_the_kernel_to_1e15_of_the_fields_scale(parameters, times):
    # The kernel factorises the quadrature sum into a matrix product, so its
    # rounding differs from the point formula's sum: where erfc differences
    # cancel far out in the plume a value of 1e-9 mg/L may differ in its 8th
    # digit, but never by more than 1e-15 of the source's strongest concentration.
    model = kavrin.Model(**parameters)
    X, Y = np.meshgrid(model.x, model.y)
    for t in times:
        kernel = model.field(float(t), as_written=False)
        points = model.points(X, Y, model.PlaneZ, float(t))
        assert np.max(np.abs(points - kernel)) <= 1e-15 * strongest_source(model)


def test_points_broadcast_over_their_arguments():
    model = kavrin.Model(GaussOrder=20)
    x = np.linspace(1, 50, 7)[:, None]
    t = np.array([100.0, 500.0, 2500.0])[None, :]
    values = model.points(x, 0.0, 0.0, t)
    assert values.shape == (7, 3)
    assert values[3, 1] == model.points(x[3, 0], 0, 0, 500.0)
    assert model.points(10, 0, 0, 100).shape == ()


@pytest.mark.parametrize("name,value", [("Foo", 1), ("AlphaX", -1), ("C0", "abc"), ("DX", float("nan")),
                                        ("Porosity", 0), ("SourceHistory", "sometimes"), ("SourceDecay", "-1"),
                                        ("GaussOrder", 64)])
def test_refusals_carry_the_batch_tools_message(batch, name, value):
    code, out, err = batch("run", "--set", f"{name}={value}")
    assert code != 0
    with pytest.raises(ValueError) as refused:
        kavrin.Model(**{name: value})
    assert str(refused.value) in err


def test_files_that_cannot_be_read_raise_oserror(tmp_path):
    with pytest.raises(OSError):
        kavrin.Model.from_project(tmp_path / "missing.kvr")
    with pytest.raises(OSError):
        kavrin.Model.from_parameter_file(tmp_path / "missing.dat")


def test_a_saved_project_gives_the_same_model_and_run(batch, tmp_path):
    model = kavrin.Model(C0=250, AlphaX=3.25, SourceHistory="stop", ReleaseEnd=500, GaussOrder=60)
    model.save_project(tmp_path / "saved.kvr")
    again = kavrin.Model.from_project(tmp_path / "saved.kvr")
    assert again.texts() == model.texts()
    code, out, err = batch("run", "--project", str(tmp_path / "saved.kvr"), "--name", "saved")
    assert code == 0, err
    assert np.array_equal(model.field(2500.0), np.array(read_time_file(batch.root / "saved" / "T2500.txt")))


def test_no_keyword_value_crashes_the_interpreter():
    # A short fuzz in a child interpreter: every value is taken or refused
    # with ValueError or TypeError, and the interpreter lives on.
    script = r'''
import random, kavrin
names = [n for n, _ in kavrin.Model().texts()] + ["SourceHistory", "SourceDecay", "SourceHalfLife", "ReleaseEnd",
         "SourceSteps", "SourceCentre", "SourceZones", "ControlPlaneX", "", "Edit7", "ComboBox1", "x" * 300]
values = [0, -1, 1e308, -1e308, 5e-324, float("nan"), float("inf"), 10**30, -(10**30), "", " ", "1,5", "1e999",
          "\x00", "é", "steps", "0 1|", "|||", "1 2 3 4 5|" * 30, None, [], b"1", 1.5, "256", 7, "-0"]
rng = random.Random(29)
for _ in range(3000):
    parameters = {rng.choice(names): rng.choice(values) for _ in range(rng.randint(1, 4))}
    try:
        model = kavrin.Model(**parameters)
    except (ValueError, TypeError):
        continue
    try:
        model.points(10.0, 0.0, 0.0, 100.0)
        model.field(100.0)
    except (ValueError, OSError):
        pass
print("alive")
'''
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=600)
    assert done.returncode == 0, done.stderr[-2000:]
    assert done.stdout.strip() == "alive"


def test_ctrl_c_stops_points_between_blocks():
    model = kavrin.Model(GaussOrder=256)
    x = np.linspace(0.5, 100, 2_000_000)
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            model.points(x, 0.0, 0.0, 1000.0)
    finally:
        timer.cancel()


@pytest.mark.parametrize("parameters", [
    {"GaussOrder": 256, "AlphaX": 5, "AlphaY": 0.5, "AlphaZ": 0.05},
    {"GaussOrder": 104, "Decay": 0.001, "AlphaX": 10, "PlaneZ": 0.7},
    {"GaussOrder": 60, "SourceZones": "4 0 5 2 3"},
    {"GaussOrder": 20, "SourceHistory": "stop", "ReleaseEnd": 300},
])
def test_points_are_the_point_formulas_own_values_bit_for_bit(parameters):
    # Points share their time's node factors, consecutive equal y and z share
    # their transverse factors, and terms with a zero exponential are left
    # out: none of it may change a bit of any value, wherever the points lie.
    model = kavrin.Model(**parameters)
    points = lambda *arguments: model.points(*arguments, exact=True)
    rng = np.random.default_rng(29)
    n = 1500
    x = rng.uniform(-5, 300, n)
    x[::37] = 0.0
    y = np.round(rng.uniform(-40, 40, n), 1)
    y[100:400] = 2.5
    z = rng.choice([0.0, -1.0, 0.5, 2.0], n)
    t = rng.choice([1e-300, 0.0, -3.0, 5.0, 100.0, 1000.0, 2500.0], n)
    t[::3] = rng.uniform(1, 3000, t[::3].size)
    grid_x, grid_y = np.meshgrid(np.linspace(0.25, 120, 40), np.linspace(-25, 25, 30))
    for xs, ys, zs, ts in [(x, y, z, t), (x, y, 0.0, 777.0), (grid_x, grid_y, 0.0, 300.0), (50.0, 1.0, 0.0, t[t > 0])]:
        values = points(xs, ys, zs, ts)
        arrays = np.broadcast_arrays(*(np.asarray(a, dtype=float) for a in (xs, ys, zs, ts)))
        expected = [model._core.point_formula(*point) for point in zip(*(a.ravel() for a in arrays))]
        assert values.ravel().view(np.int64).tolist() == np.array(expected).view(np.int64).tolist()


@pytest.mark.parametrize("parameters", [
    {"GaussOrder": 256, "AlphaX": 5, "AlphaY": 0.5, "AlphaZ": 0.05},
    {"GaussOrder": 256, "C0": 1000, "X1": 200, "AlphaX": 5, "AlphaY": 0.5, "AlphaZ": 0.05},
    {"GaussOrder": 104, "Decay": 0.001, "AlphaX": 10, "PlaneZ": 0.7},
    {"GaussOrder": 20, "AlphaX": 0.5, "AlphaY": 0.01, "AlphaZ": 0.001},
])
def test_points_stay_within_1e15_of_the_sources_scale_of_the_point_formula(parameters):
    # The vectorised exponentials differ from the library's by at most a unit
    # in the last place and answer 0 below the normal doubles: each term moves
    # by a few units, so far out in the plume, where erfc differences cancel,
    # a tiny value may differ in its last digits, but no value by more than
    # 1e-15 of the source's concentration. Points off the shared form (x <= 0,
    # t <= 0) are the point formula's own.
    model = kavrin.Model(**parameters)
    rng = np.random.default_rng(30)
    n = 4000
    x = rng.uniform(-5, 300, n)
    x[::37] = 0.0
    y = rng.uniform(-60, 60, n)
    z = rng.choice([0.0, -1.0, 0.5, 2.0, 8.0], n)
    t = rng.choice([0.0, -3.0, 1e-3, 5.0, 100.0, 1000.0, 2500.0, 1e5], n)
    t[::3] = rng.uniform(1, 3000, t[::3].size)
    values = model.points(x, y, z, t)
    expected = np.array([model._core.point_formula(*point) for point in zip(x, y, z, t)])
    assert np.max(np.abs(values - expected)) <= 1e-15 * strongest_source(model)
    off = (x <= 0) | (t <= 0)
    assert values[off].view(np.int64).tolist() == expected[off].view(np.int64).tolist()


@pytest.mark.parametrize("parameters,t", [({"AlphaX": 1e-300}, 1e-20), ({"Kxx": 1e300}, 1e20)])
def test_a_point_the_formula_refuses_is_refused_by_points_too(parameters, t):
    model = kavrin.Model(GaussOrder=20, **parameters)
    with pytest.raises(ValueError) as alone:
        model._core.point_formula(10.0, 0.0, 0.0, t)
    with pytest.raises(ValueError) as among:
        model.points(np.array([10.0, 20.0, 30.0]), 0.0, 0.0, np.array([1.0, t, 1.0]))
    assert str(among.value) == str(alone.value)


def test_field_as_written_is_each_kernel_value_rounded_to_fifteen_digits():
    # The plume's tails reach far below 1e-22 mg/L, where the read-back takes
    # the text; above, it is computed from the digits: both must be the text's.
    model = kavrin.Model(GaussOrder=104, C0=3.7e5, X0=-2, X1=400, DX=1, Y0=-60, Y1=60, DY=1.5, AlphaX=2, AlphaY=0.05)
    kernel = model.field(900.0, as_written=False)
    written = model.field(900.0)
    assert np.min(np.abs(kernel[kernel != 0])) < 1e-30 and np.max(kernel) > 1e5
    expected = np.array([float(f"{v:.14E}") for v in kernel.ravel()]).reshape(kernel.shape)
    assert written.view(np.int64).tolist() == expected.view(np.int64).tolist()


def test_field_keeps_its_working_memory_and_gives_the_same_grids_in_any_order():
    model = kavrin.Model(GaussOrder=60, X1=150, DX=0.5)
    first = model.field([100.0, 2500.0, 100.0], as_written=False)
    assert np.array_equal(first[0], first[2])
    other = kavrin.Model(GaussOrder=60, X1=120, DX=1)
    assert np.array_equal(other.field(100.0, as_written=False), kavrin.Model(GaussOrder=60, X1=120, DX=1).field(100.0, as_written=False))
    assert np.array_equal(model.field(2500.0, as_written=False), first[1])


def opens_of(path):
    """A function that counts the opens of `path` since this call (inotify)."""
    libc = ctypes.CDLL(None, use_errno=True)
    in_open, in_access = 0x20, 0x01
    fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
    assert fd >= 0 and libc.inotify_add_watch(fd, os.fsencode(path), in_open | in_access) >= 0
    counted = [0]

    def count():
        while True:
            try:
                events = os.read(fd, 1 << 16)
            except BlockingIOError:
                return counted[0]
            at = 0
            while at < len(events):
                _, mask, _, length = struct.unpack_from("iIII", events, at)
                counted[0] += bool(mask & in_open)
                at += 16 + length
    return count


def test_points_from_several_threads_at_once_load_a_fresh_models_table_once(tmp_path, monkeypatch):
    # points releases the GIL, so threads ask a new model for its quadrature at
    # the same time. Its table here is slow to read (lines padded past their
    # values, which the reader passes over: order 4 reads the first), so they
    # all ask while it loads.
    table = tmp_path / "valores.txt"
    lines = open(kavrin._VALORES, "rb").read().split(b"\r\n")
    table.write_bytes(b"\r\n".join(line + b"x" * 400000 if k < 3 else line for k, line in enumerate(lines)))
    monkeypatch.setattr(kavrin, "_VALORES", str(table))
    x, y = np.linspace(1, 90, 40), np.linspace(-20, 20, 40)
    expected = kavrin.Model(GaussOrder=4).points(x, y, 0.0, 800.0)
    opens = opens_of(table)
    for trial in range(5):
        model = kavrin.Model(GaussOrder=4)
        ready = threading.Barrier(6)
        results = [None] * 6

        def compute(k):
            ready.wait()
            results[k] = model.points(x, y, 0.0, 800.0)

        threads = [threading.Thread(target=compute, args=(k,)) for k in range(6)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        for values in results:
            assert np.array_equal(values, expected)
        assert opens() == trial + 1, "the table is read once per model"
