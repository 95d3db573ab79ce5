"""kavrin.Uncertainty against the files and the summary of kavrin-batch uncertainty and merge."""
import re

import numpy as np
import pytest

import kavrin


@pytest.fixture
def project(tmp_path):
    model = kavrin.Model(GaussOrder=20, X1=100, DX=5, Y0=-40, Y1=40, DY=5, T0=100, T1=300, DT=100)
    model.save_project(tmp_path / "plume.kvr")
    (tmp_path / "receptors.csv").write_text("x,y,z\n50,0,0\n80,5,0\n")
    return model, tmp_path


def uncertainty(batch, tmp_path, to, *more):
    code, out, err = batch("uncertainty", "--project", str(tmp_path / "plume.kvr"), "--vary", "AlphaX=uniform:2,8",
                           "--vary", "C0=lognormal:1000,1.5", "--standard", "5", "--threshold", "1", "--threshold", "50",
                           "--realizations", "40", "--seed", "3", "--receptors", str(tmp_path / "receptors.csv"),
                           "--to", str(tmp_path / to), *more)
    assert code == 0, err
    return out


def test_the_arrays_give_the_batch_tools_summary(batch, project):
    model, tmp_path = project
    summary = uncertainty(batch, tmp_path, "out")
    results = kavrin.Uncertainty(tmp_path / "out")
    assert list(results.times) == [100, 200, 300] and results.time_texts == ["100", "200", "300"]
    assert list(results.thresholds) == [1, 5, 50]
    rows, columns = len(model.y), len(model.x)
    assert results.exceedance.shape == (3, 3, rows, columns)
    for name in ("mean", "sd", "p05", "p50", "p95"):
        assert getattr(results, name).shape == (3, rows, columns)
    assert np.array_equal(results.x, model.x) and np.array_equal(results.y, model.y)
    assert np.all((results.exceedance >= 0) & (results.exceedance <= 1))
    assert np.all(results.exceedance[0] >= results.exceedance[1]) and np.all(results.exceedance[1] >= results.exceedance[2])
    assert np.all(results.p05 <= results.p50) and np.all(results.p50 <= results.p95)
    lines = re.findall(r"T (\S+): largest probability above the standard (\S+), (\d+) nodes .*? p05 (\S+) m, p50 (\S+) m, "
                       r"p95 (\S+) m", summary)
    assert len(lines) == 3
    standard = list(results.thresholds).index(5)
    for k, (t, largest, nodes, p05, p50, p95) in enumerate(lines):
        assert results.times[k] == float(t)
        assert results.exceedance[standard, k].max() == float(largest)
        assert np.count_nonzero(results.exceedance[standard, k] >= 0.5) == int(nodes)
        assert [results.plume_length[n][k] for n in ("p05", "p50", "p95")] == [float(p05), float(p50), float(p95)]
    assert len(results.receptors) == 2 * 3
    assert list(results.receptors["receptor"]) == [1, 1, 1, 2, 2, 2]
    assert list(results.receptors["time"]) == [100, 200, 300] * 2
    assert list(results.receptors[["x", "y", "z"]][::3].tolist()) == [(50, 0, 0), (80, 5, 0)]
    # The mean at a receptor on a node is the mean map's value there, to the files' 15 digits.
    node = (list(model.y).index(0.0), list(model.x).index(50.0))
    assert results.receptors["mean"][:3] == pytest.approx(results.mean[:, node[0], node[1]], rel=1e-13)


def test_merged_parts_read_as_the_single_run(batch, project):
    model, tmp_path = project
    uncertainty(batch, tmp_path, "whole")
    for part in (1, 2):
        uncertainty(batch, tmp_path, f"part{part}", "--part", f"{part}/2")
    code, out, err = batch("merge", str(tmp_path / "part1"), str(tmp_path / "part2"), "--to", str(tmp_path / "merged"))
    assert code == 0, err
    whole, merged = kavrin.Uncertainty(tmp_path / "whole"), kavrin.Uncertainty(tmp_path / "merged")
    for name in ("exceedance", "mean", "sd", "p05", "p50", "p95"):
        assert np.array_equal(getattr(whole, name), getattr(merged, name))
    assert np.array_equal(whole.receptors, merged.receptors)
    assert np.array_equal(whole.plume_length, merged.plume_length)


def test_a_folder_without_results_raises_oserror(tmp_path):
    with pytest.raises(OSError):
        kavrin.Uncertainty(tmp_path)
    (tmp_path / "plume_length.csv").write_text("time,mean,p05,p50,p95,largest\n100,1,1,1,1,1\n")
    (tmp_path / "receptors.csv").write_text("receptor,x,y,z,time,mean\n")
    (tmp_path / "mean_T100.grd").write_text("not a grid\n")
    with pytest.raises(OSError):
        kavrin.Uncertainty(tmp_path)


@pytest.mark.parametrize("from_parts", [False, True])
def test_a_comma_machines_results_read_as_a_point_machines(batch, project, monkeypatch, from_parts):
    """Typed with commas, the times and thresholds name the files so; the CSV files have points."""
    model, tmp_path = project
    (tmp_path / "comma.csv").write_text("x;y;z\n50;0;0\n80,5;5;0\n")
    (tmp_path / "point.csv").write_text("x,y,z\n50,0,0\n80.5,5,0\n")

    def run(separator, to, *more):
        monkeypatch.setenv("KAVRIN_DECIMAL_SEPARATOR", separator)
        numbers = {",": ("150,5", "0,5", "comma.csv"), ".": ("150.5", "0.5", "point.csv")}[separator]
        code, out, err = batch("uncertainty", "--project", str(tmp_path / "plume.kvr"), "--vary", "C0=lognormal:1000;2",
                               "--standard", "5", "--threshold", numbers[1], "--time", numbers[0], "--time", "300",
                               "--realizations", "30", "--seed", "5", "--receptors", str(tmp_path / numbers[2]),
                               "--to", str(tmp_path / to), *more)
        assert code == 0, err

    run(".", "point")
    if from_parts:
        for part in (1, 2):
            run(",", f"part{part}", "--part", f"{part}/2")
        code, out, err = batch("merge", str(tmp_path / "part1"), str(tmp_path / "part2"), "--to", str(tmp_path / "comma"))
        assert code == 0, err
    else:
        run(",", "comma")
    comma, point = kavrin.Uncertainty(tmp_path / "comma"), kavrin.Uncertainty(tmp_path / "point")
    assert comma.time_texts == ["150,5", "300"] and point.time_texts == ["150.5", "300"]
    assert comma.threshold_texts == ["0,5", "5"] and point.threshold_texts == ["0.5", "5"]
    assert list(comma.times) == [150.5, 300] and list(comma.thresholds) == [0.5, 5]
    for name in ("exceedance", "mean", "sd", "p05", "p50", "p95", "receptors", "plume_length", "times", "thresholds"):
        assert np.array_equal(getattr(comma, name), getattr(point, name)), name
    assert list(comma.receptors["x"]) == [50, 50, 80.5, 80.5]
