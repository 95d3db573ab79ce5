"""The fused kernel behind the default model.points: its exp, its erfc
differences against ExpErfc, and points with it and without it (what a
processor without AVX2 computes)."""
import numpy as np
import pytest

import kavrin
from kavrin import _kavrin

SMALLEST_NORMAL = np.finfo(float).tiny


FORMS = ["avx512", "avx2", "portable"]


@pytest.fixture(params=FORMS)
def form(request):
    """The kernel on 8 lanes, on 4, or not at all (the vectorised form a
    processor without AVX2 takes); a form this processor lacks is skipped."""
    lanes = {"avx512": 8, "avx2": 4, "portable": 0}[request.param]
    if _kavrin._set_point_kernel_lanes(lanes) != lanes:
        _kavrin._set_point_kernel_lanes(8)
        pytest.skip(f"no {request.param} here")
    yield request.param
    _kavrin._set_point_kernel_lanes(8)


def around(values):
    """Each value and its two neighbouring doubles."""
    values = np.asarray(values, dtype=float)
    return np.concatenate([np.nextafter(values, -np.inf), values, np.nextafter(values, np.inf)])


def erfc_arguments():
    """−30 … 30 densely, Cody's range boundaries and the kernel's shortcuts
    (0, ±0.46875, ±4, −6, ±27) with their neighbours, both signs."""
    edges = [0.0, 0.46875, 4.0, 6.0, 26.6, 27.0, 29.9]
    points = around(edges + [-e for e in edges])
    return np.concatenate([np.linspace(-30, 30, 60001), points, np.random.default_rng(8).uniform(-30, 30, 40000)])


def test_exp_is_within_a_unit_in_the_last_place_and_zero_below_the_normal_doubles(form):
    portable = form == "portable"
    x = np.concatenate([np.linspace(-708.39, 709.78, 400001), around([-708.3964185322641, 0.0, -1.0, 1.0, 709.0])])
    values = _kavrin._point_kernel_exps(x, portable)
    exact = np.exp(x.astype(np.longdouble))
    units = np.abs(values.astype(np.longdouble) - exact) / np.spacing(exact.astype(float))
    normal = exact >= SMALLEST_NORMAL
    assert np.max(units[normal].astype(float)) <= 1.0
    assert np.all(values[~normal] == 0)
    beyond = _kavrin._point_kernel_exps(np.array([-800.0, -708.4, 710.0, np.inf, -np.inf, np.nan]), portable)
    assert beyond[:2].tolist() == [0.0, 0.0] and beyond[2:4].tolist() == [np.inf, np.inf]
    assert beyond[4] == 0 and np.isnan(beyond[5])


def test_erfc_differences_agree_with_expErfc_over_the_whole_range(form):
    portable = form == "portable"
    # Pairs as a point's edges make them: b above a by a little (equal and
    # near-equal arguments), by about one, by much, across every boundary.
    a = erfc_arguments()
    rng = np.random.default_rng(9)
    for gap in (0.0, 1e-12, 1e-6, 0.01, 1.0, 7.5, 60.0):
        b = a + gap * rng.uniform(0.5, 1.5, a.size) if gap else a.copy()
        got = _kavrin._erfc_differences(a, b, portable)
        first, second = _kavrin._exp_erfc(a), _kavrin._exp_erfc(b)
        expected = first - second
        scale = np.abs(first) + np.abs(second)
        error = np.abs(got - expected)
        # Each erfc within a few units in the last place of ExpErfc's, so the
        # difference within a few units of the pair's scale; below the normal
        # doubles the kernel's exp is 0 where ExpErfc's is subnormal.
        assert np.all((error <= 8 * np.spacing(scale)) | (error <= 2 * SMALLEST_NORMAL)), gap
        if gap == 0:
            assert np.all(got == 0)


def test_erfc_difference_limits(form):
    a = np.array([27.5, -6.5, -40.0, 0.0, -0.0, 40.0, -1.0, 30.0])
    b = np.array([40.0, -6.0, -7.0, 0.0, 0.0, 50.0, 1.0, 30.0])
    got = _kavrin._erfc_differences(a, b, form == "portable")
    assert got[:6].tolist() == [0.0, 0.0, 0.0, 0.0, 0.0, 0.0]
    assert got[6] == pytest.approx(_kavrin._exp_erfc(np.array([-1.0]))[0] - _kavrin._exp_erfc(np.array([1.0]))[0], rel=1e-15)


def strongest_source(model):
    return max(model.C0, 1.0)


MODELS = [
    {"GaussOrder": 256, "C0": 1000, "X1": 200, "AlphaX": 5, "AlphaY": 0.5, "AlphaZ": 0.05},
    {"GaussOrder": 104, "Decay": 0.001, "AlphaX": 10, "PlaneZ": 0.7},
    {"GaussOrder": 20, "AlphaX": 0.5, "AlphaY": 0.01, "AlphaZ": 0.001},
    {"GaussOrder": 60, "C0": 1000, "X1": 200, "AlphaX": 5, "AlphaY": 5, "AlphaZ": 0.05, "SourceWidth": 0.5},
]


def random_points(n, seed):
    rng = np.random.default_rng(seed)
    x = rng.uniform(0.01, 300, n)
    y = rng.uniform(-80, 80, n)
    z = rng.choice([0.0, -1.0, 0.5, 2.0, 8.0], n)
    t = rng.choice([1e-3, 5.0, 100.0, 1000.0, 2500.0, 1e5], n)
    t[::3] = rng.uniform(1, 3000, t[::3].size)
    return x, y, z, t


@pytest.mark.parametrize("parameters", MODELS)
def test_points_stay_within_1e15_of_the_point_formula_in_every_form(parameters, form):
    # The prepared times (repeated t) and points at a time of their own (t[::3]).
    model = kavrin.Model(**parameters)
    x, y, z, t = random_points(3000, 31)
    expected = np.array([model._core.point_formula(*point) for point in zip(x, y, z, t)])
    assert np.max(np.abs(model.points(x, y, z, t) - expected)) <= 1e-15 * strongest_source(model)


@pytest.mark.parametrize("t", [1000.0, "own"])
def test_points_differ_from_the_point_formula_by_a_few_units_where_nothing_cancels(t, form):
    # The benchmark's plume: relative differences of a few units in the last
    # place where the value exceeds 1e-6 of C0 (beside a narrow source at late
    # times, where erfc differences cancel, the point formula's own rounding
    # decides the last digits and only the absolute bound holds).
    model = kavrin.Model(GaussOrder=256, C0=1000, X1=200, AlphaX=5, AlphaY=0.5, AlphaZ=0.05)
    rng = np.random.default_rng(33)
    x, y = rng.uniform(0.5, 200, 20000), rng.uniform(-30, 30, 20000)
    times = rng.uniform(10, 3000, x.size) if t == "own" else t
    values, expected = model.points(x, y, 0.0, times), model.points(x, y, 0.0, times, exact=True)
    large = np.abs(expected) > 1e-6 * model.C0
    assert np.max(np.abs(values - expected)[large] / expected[large]) <= 4e-15


def test_a_time_of_its_own_gives_what_the_time_shared_gives(form):
    # The same points once each at a time of its own and once all at one time.
    model = kavrin.Model(GaussOrder=256, C0=1000, X1=200, AlphaX=5, AlphaY=0.5, AlphaZ=0.05)
    rng = np.random.default_rng(32)
    x, y = rng.uniform(0.5, 200, 500), rng.uniform(-30, 30, 500)
    shared = model.points(x, y, 0.0, 700.0)
    own = np.array([model.points(x[i], y[i], 0.0, 700.0) for i in range(x.size)])
    assert np.max(np.abs(own - shared)) <= 1e-16 * model.C0


def test_the_node_counts_say_how_many_terms_were_left_out(form):
    model = kavrin.Model(GaussOrder=256, C0=1000, X1=200, AlphaX=5, AlphaY=0.5, AlphaZ=0.05)
    _kavrin._point_kernel_node_counts()
    model.points(np.linspace(1, 200, 1000), np.linspace(-30, 30, 1000), 0.0, 1000.0)
    skipped, total = _kavrin._point_kernel_node_counts()
    if form != "portable":
        assert total == 1000 * 256 and 0 < skipped < total
    else:
        assert (skipped, total) == (0, 0)
