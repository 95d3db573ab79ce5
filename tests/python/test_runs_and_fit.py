"""kavrin.run, kavrin.Results, compare, fit and the mass balance."""
import numpy as np
import pytest

import kavrin
from conftest import read_time_file


def test_run_writes_what_the_batch_tool_writes_and_results_read_it_back(batch, tmp_path):
    parameters = {"GaussOrder": 20, "T0": 100, "T1": 300, "DT": 100, "AlphaX": 4}
    code, out, err = batch("run", "--name", "same", *[w for n, v in parameters.items() for w in ("--set", f"{n}={v}")])
    assert code == 0, err
    model = kavrin.Model(**parameters)
    folder = kavrin.run(model, name="same", root=tmp_path / "ws", save=tmp_path / "same.kvr")
    for t in (100, 200, 300):
        with open(f"{folder}T{t}.txt", "rb") as ours, open(batch.root / "same" / f"T{t}.txt", "rb") as theirs:
            assert ours.read() == theirs.read()
    results = kavrin.Results(tmp_path / "same.kvr")
    assert list(results.times) == [100, 200, 300]
    for t in results.times:
        assert np.array_equal(results[t], model.field(t))
    series = results.time_series(10, 0)
    node = (list(model.y).index(0.0), list(model.x).index(10.0))
    assert np.array_equal(series[:, 1], [results[t][node] for t in results.times])
    assert np.array_equal(results.longitudinal(200, 0)[:, 1], results[200][node[0], :])
    assert np.array_equal(results.transversal(200, 10)[:, 1], results[200][:, node[1]])
    with pytest.raises(KeyError):
        results[150]


def test_a_run_refused_leaves_nothing(tmp_path):
    with pytest.raises(ValueError, match="450"):
        kavrin.run(kavrin.Model(DX=0.01), name="big", root=tmp_path / "ws")
    assert not (tmp_path / "ws" / "big").exists()


def three_parameter_observations():
    truth = kavrin.Model(C0=1000, AlphaX=5, AlphaY=0.5, Kxx=0.8, GaussOrder=60)
    x, t = np.meshgrid([10, 20, 40, 60, 80.0], [100, 200, 400, 800, 1500.0])
    y = np.tile([0, 2, -3, 5, 1.0], 5)
    c = truth.points(x.ravel(), y, 0.0, t.ravel())
    return np.column_stack([c, x.ravel(), y, np.zeros(25), t.ravel()])


def test_fit_recovers_three_parameters_and_compare_agrees():
    observations = three_parameter_observations()
    start = kavrin.Model(C0=1000, AlphaX=2, AlphaY=0.2, Kxx=0.5, GaussOrder=60)
    before = kavrin.compare(start, observations)
    assert before["R2"] < 0.9
    result = kavrin.fit(start, observations, ["AlphaX", "AlphaY", "Kxx"], bounds={"AlphaX": (0.1, 50)})
    for name, value in {"AlphaX": 5, "AlphaY": 0.5, "Kxx": 0.8}.items():
        assert result.values[name] == pytest.approx(value, rel=1e-9)
        low, high = result.intervals[name]
        assert low <= result.values[name] <= high
    assert result.identifiable and result.correlation.shape == (3, 3)
    assert np.allclose(np.diag(result.correlation), 1)
    after = kavrin.compare(result.model, observations)
    assert after["R2"] == pytest.approx(1, abs=1e-12)
    assert np.allclose(after["calculated"], observations[:, 0], rtol=1e-9)


@pytest.mark.parametrize("arguments,message", [
    ({"parameters": ["Foo"]}, '"Foo" cannot be fitted'),
    ({"parameters": ["AlphaX"], "bounds": {"Kxx": (0.1, 1)}}, "--bounds names Kxx, which --fit does not"),
    ({"parameters": ["AlphaX"], "weights": "sometimes"}, "--weights takes table or relative"),
])
def test_fit_refusals_carry_the_batch_fits_messages(arguments, message):
    with pytest.raises(ValueError, match=message):
        kavrin.fit(kavrin.Model(GaussOrder=20), three_parameter_observations(), **arguments)


def test_mass_balance_closes():
    model = kavrin.Model(C0=1000, Retardation=2, Decay=0.001, GaussOrder=60, ControlPlaneX=50)
    rows = kavrin.mass_balance(model, [100.0, 1000.0])
    assert list(rows["time"]) == [100, 1000]
    present = rows["dissolved"] + rows["sorbed"] + rows["decayed"]
    assert np.allclose(present, rows["entered"], rtol=1e-6)


@pytest.mark.parametrize("separator", [",", "."])
def test_run_and_save_write_the_batch_tools_decimal_separator(batch, tmp_path, monkeypatch, separator):
    monkeypatch.setenv("KAVRIN_DECIMAL_SEPARATOR", separator)
    assert kavrin.decimal_separator() == separator
    parameters = {"GaussOrder": 20, "T0": 50, "T1": 100, "DT": 50, "AlphaX": 4.5, "SourceWidth": 12.5}
    code, out, err = batch("run", "--name", "same", *[w for n, v in parameters.items() for w in ("--set", f"{n}={v}")])
    assert code == 0, err
    model = kavrin.Model(**parameters)
    folder = kavrin.run(model, name="same", root=tmp_path / "ws", save=tmp_path / "same.kvr")
    for name in ("T50.txt", "T100.txt"):
        with open(f"{folder}{name}", "rb") as ours, open(batch.root / "same" / name, "rb") as theirs:
            written = ours.read()
            assert written == theirs.read()
            assert (b"," in written) == (separator == ",")
    results = kavrin.Results(tmp_path / "same.kvr")
    assert np.array_equal(results[100], model.field(100.0))
    model.save_project(tmp_path / "unrun.kvr")
    saved = (tmp_path / "unrun.kvr").read_bytes()
    assert (b"12,5" in saved, b"12.5" in saved) == (separator == ",", separator == ".")
    again = kavrin.Model.from_project(tmp_path / "unrun.kvr")
    assert [again.C0, again.AlphaX, again.SourceWidth, again.T1] == [model.C0, 4.5, 12.5, 100]
    assert np.array_equal(again.field(50.0), model.field(50.0))


def test_an_explicit_separator_wins_and_others_are_refused(tmp_path, monkeypatch):
    monkeypatch.setenv("KAVRIN_DECIMAL_SEPARATOR", ",")
    model = kavrin.Model(GaussOrder=20, AlphaX=4.5)
    model.save_project(tmp_path / "point.kvr", separator=".")
    assert b"4.5" in (tmp_path / "point.kvr").read_bytes()
    with pytest.raises(ValueError, match="separator"):
        model.save_project(tmp_path / "x.kvr", separator=";")
    assert not (tmp_path / "x.kvr").exists()
