"""The Python module's speed beside its floors (run by make bench).

points: 10⁶ random points at order 256 by kavrin.Model.points against the
same point formula vectorised in numpy/scipy (numpy_points: the
Gauss-Legendre time integral over erfc differences, in blocks of points ×
nodes, broadcasting a scalar t and z as a numpy user would), at one time for
all (a scalar t: the common case) and each point at a time of its own.
Target: at least 10× faster (processor and wall time). Also printed: how far
the default values are from exact=True's (the point formula's bits), and the
share of node terms the kernel leaves out without computing them (exactly
zero, or below 2^-64 of the largest). field: model.field per time against the run's
kernel alone on the same grid with its working memory kept, the figures the
median of repeats. Target: at most 1.2× the kernel.
"""
import os
import time

import numpy as np
from scipy.special import erfc

import kavrin
from kavrin import _kavrin


def numpy_points(model, x, y, z, t, order, block=4096):
    """C/C0 · C0 by the point formula for x > 0, t > 0, in numpy and scipy,
    with numpy broadcasting over x, y, z, t. A scalar t gives the node factors
    once, a scalar t and z also the z factor, and the node sum is then a
    matrix-vector product; the points go in blocks (points × nodes)."""
    nodes, weights = np.polynomial.legendre.leggauss(order)
    vx, dx, dy, dz, decay = model.Velocity, model.DispX, model.DispY, model.DispZ, model.Decay
    y0, y1 = -model.SourceWidth / 2, model.SourceWidth / 2
    z0, z1 = model.PlaneZ - model.SourceHeight / 2, model.PlaneZ + model.SourceHeight / 2
    x, y, z, t = (np.asarray(a, dtype=float) for a in (x, y, z, t))
    shape = np.broadcast_shapes(x.shape, y.shape, z.shape, t.shape)
    one_time, one_z = t.ndim == 0, z.ndim == 0

    def time_factors(ts):
        b = ts ** 0.25
        sigma = (nodes + 1) * b / 2
        sigma2 = sigma * sigma
        return b, sigma2, sigma2 * sigma2, weights / (sigma * sigma2)

    def z_factors(zs, sigma2):
        sz = 2 * sigma2 * np.sqrt(dz)
        return erfc((z0 - zs) / sz) - erfc((z1 - zs) / sz)

    if one_time:
        b, sigma2, tau, w = time_factors(t)
        sy = 2 * sigma2 * np.sqrt(dy)
        scale = 4 * dx * tau
        if one_z:
            wz = z_factors(z, sigma2) * w
    flat = [np.broadcast_to(a, shape).ravel() for a in (x, y, z, t)]
    out = np.empty(flat[0].size)
    for first in range(0, out.size, block):
        xs, ys, zs, ts = (a[first:first + block, None] for a in flat)
        if not one_time:
            b, sigma2, tau, w = time_factors(ts)
            sy = 2 * sigma2 * np.sqrt(dy)
            scale = 4 * dx * tau
        a = xs - vx * tau
        ey = np.exp(-a * a / scale - decay * tau)
        ey *= erfc((y0 - ys) / sy) - erfc((y1 - ys) / sy)
        if one_time and one_z:
            total = ey @ wz
        else:
            total = (ey * z_factors(zs, sigma2) * w).sum(axis=1)
        bs = b if one_time else b[:, 0]
        out[first:first + block] = model.C0 * xs[:, 0] * (total * bs / 2) / (2 * np.sqrt(np.pi * dx))
    return out.reshape(shape)


def timed(repeats, call, clock=time.perf_counter):
    """The median time of `repeats` calls (seconds): wall time, or with
    clock=time.process_time the processor time of all the process's threads."""
    times = []
    for _ in range(repeats):
        start = clock()
        call()
        times.append(clock() - start)
    return float(np.median(times))


def alternating(rounds, calls, clock=time.perf_counter):
    """The median time of each call (seconds) over `rounds` rounds that take
    the calls in turn, so a change in the machine's load falls on all alike."""
    times = [[] for _ in calls]
    for _ in range(rounds):
        for spent, call in zip(times, calls):
            start = clock()
            call()
            spent.append(clock() - start)
    return [float(np.median(spent)) for spent in times]


def row(what, measured, floor, ratio):
    print(f"  {what:<34} {measured:<22} {floor:<40} {ratio}", flush=True)


def main():
    load = os.getloadavg()
    print(f"KAVRIN Python module benchmark: {os.cpu_count()} cores, load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
    lanes = _kavrin._point_kernel_lanes()
    print("  points: 10^6 random points at order 256, x in (0.5, 200), y in (-30, 30) m, z = 0; median of repeats;")
    print(f"  the default points' kernel on {lanes} lanes ({ {8: 'AVX-512', 4: 'AVX2'}.get(lanes, 'none: the vectorised form') })\n")
    row("figure", "measured", "floor or target", "ratio")
    model = kavrin.Model(C0=1000, X0=0, X1=200, DX=1, GaussOrder=256, AlphaX=5, AlphaY=0.5, AlphaZ=0.05)
    rng = np.random.default_rng(1)
    n = 1_000_000
    x = rng.uniform(0.5, 200, n)
    y = rng.uniform(-30, 30, n)
    times = rng.uniform(10, 3000, n)
    for label, z, t in (("points, one time (t = 1000 d)", 0.0, 1000.0), ("points, a time per point", np.zeros(n), times)):
        calls = [lambda: model.points(x, y, z, t), lambda: model.points(x, y, z, t, exact=True),
                 lambda: numpy_points(model, x, y, z, t, 256)]
        _kavrin._point_kernel_node_counts()
        ours, exact, theirs = alternating(3, calls)
        skipped, total = _kavrin._point_kernel_node_counts()
        sample = slice(0, 20000)
        zs = z if np.ndim(z) == 0 else z[sample]
        ts = t if np.ndim(t) == 0 else t[sample]
        agreement = np.max(np.abs(model.points(x[sample], y[sample], zs, ts) - numpy_points(model, x[sample], y[sample], zs, ts, 256)))
        default, own = model.points(x, y, z, t), model.points(x, y, z, t, exact=True)
        from_exact = np.max(np.abs(default - own))
        large = np.abs(own) > 1e-6 * model.C0
        relative = np.max(np.abs(default - own)[large] / np.abs(own[large]))
        row(label, f"{ours:.2f} s", f"numpy/scipy {theirs:.2f} s / 10 = {theirs / 10:.2f} s", f"{theirs / ours:.1f} x faster than numpy")
        row("  exact=True (the point formula's bits)", f"{exact:.2f} s", "", f"{theirs / exact:.1f} x faster than numpy")
        # Processor time does not depend on what else the machine runs: the
        # work itself, the module's on all its threads together.
        ours_cpu, exact_cpu, theirs_cpu = alternating(1, calls, time.process_time)
        row("  processor time", f"{ours_cpu:.2f} s", f"numpy/scipy {theirs_cpu:.2f} s", f"{theirs_cpu / ours_cpu:.1f} x less work")
        row("  processor time, exact=True", f"{exact_cpu:.2f} s", "", f"{theirs_cpu / exact_cpu:.1f} x less work")
        row("  largest difference from numpy", f"{agreement / model.C0:.1e} of C0", "", "")
        row("  largest difference from exact=True", f"{from_exact / model.C0:.1e} of C0", "at most 1e-15 of C0", "")
        row("    relative, values above 1e-6 of C0", f"{relative:.1e}", "", "")
        if total:
            row("  node terms left out uncomputed", f"{skipped / total:.1%}", f"of {total / 3:.3g} per call", "")

    print()
    for order, (x1, dx) in [(104, (200, 1)), (256, (400, 1))]:
        grid = kavrin.Model(C0=1000, X1=x1, DX=dx, Y0=-100, Y1=100, DY=0.5, GaussOrder=order, AlphaX=5)
        rows, columns = grid.field(1000.0, as_written=False).shape
        repeats = 21
        kernel = float(np.median([_kavrin._kernel_seconds(grid._core, 1000.0, 1) for _ in range(repeats)]))
        field = timed(repeats, lambda: grid.field(1000.0, as_written=False))
        written = timed(repeats, lambda: grid.field(1000.0))
        # Processor time of a call; _kernel_seconds computes the time once before
        # the 10 it times, all alike with the working memory kept, hence / 11.
        kernel_cpu = timed(repeats, lambda: _kavrin._kernel_seconds(grid._core, 1000.0, 10), time.process_time) / 11
        field_cpu = timed(repeats, lambda: grid.field(1000.0, as_written=False), time.process_time)
        written_cpu = timed(repeats, lambda: grid.field(1000.0), time.process_time)
        what = f"{rows} x {columns}, order {order}"
        row(f"field, {what}", f"{field * 1e3:.2f} ms", f"at most 1.2 x kernel {kernel * 1e3:.2f} ms", f"{field / kernel:.2f} x kernel")
        row("  processor time", f"{field_cpu * 1e3:.2f} ms", f"kernel {kernel_cpu * 1e3:.2f} ms", f"{field_cpu / kernel_cpu:.2f} x kernel")
        row("  as the time file reads back", f"{written * 1e3:.2f} ms", "", f"{written / kernel:.2f} x kernel")
        row("  processor time", f"{written_cpu * 1e3:.2f} ms", "", f"{written_cpu / kernel_cpu:.2f} x kernel")
    load = os.getloadavg()
    print(f"  load average at the end {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")


if __name__ == "__main__":
    main()
