"""The Python module's speed beside what numpy and scipy give (run by make bench).

points: 10⁶ points at order 256 by kavrin.Model.points against the same point
formula vectorised in numpy/scipy (the Gauss-Legendre time integral over
erfc differences, in blocks of points × nodes). field: model.field per time
against the run's kernel alone on the same grid.
"""
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


def best_of(repeats, call):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    model = kavrin.Model(C0=1000, X0=0, X1=200, DX=1, GaussOrder=256, AlphaX=5, AlphaY=0.5, AlphaZ=0.05)
    rng = np.random.default_rng(1)
    n = 1_000_000
    x = rng.uniform(0.5, 200, n)
    y = rng.uniform(-30, 30, n)
    z = np.zeros(n)
    t = rng.uniform(10, 3000, n)
    ours = best_of(2, lambda: model.points(x, y, z, t))
    print(f"python points: kavrin {ours:.2f} s for 10^6 points", flush=True)
    # numpy/scipy on a tenth of the points, scaled: its cost is linear in them.
    tenth = slice(0, n // 10)
    theirs = 10 * best_of(1, lambda: numpy_points(model, x[tenth], y[tenth], z[tenth], t[tenth], 256))
    sample = slice(0, 2000)
    a, b = model.points(x[sample], y[sample], z[sample], t[sample]), numpy_points(model, x[sample], y[sample], z[sample], t[sample], 256)
    agreement = np.max(np.abs(a - b)) / model.C0
    print(f"python points, 10^6 points at order 256: kavrin {ours:.2f} s, numpy/scipy {theirs:.2f} s (10^5 points × 10), "
          f"{theirs / ours:.1f}x faster (largest difference {agreement:.1e} of C0)")

    for order, (x1, dx) in [(104, (200, 1)), (256, (400, 1))]:
        grid = kavrin.Model(C0=1000, X1=x1, DX=dx, Y0=-100, Y1=100, DY=0.5, GaussOrder=order, AlphaX=5)
        repeats = 5
        kernel = min(_kavrin._kernel_seconds(grid._core, 1000.0, 1) for _ in range(repeats))
        field = best_of(repeats, lambda: grid.field(1000.0, as_written=False))
        written = best_of(repeats, lambda: grid.field(1000.0))
        rows, columns = grid.field(1000.0, as_written=False).shape
        print(f"python field, {rows} x {columns} at order {order}: kernel {kernel * 1e3:.1f} ms per time, "
              f"field {field * 1e3:.1f} ms ({field / kernel:.2f}x), as written {written * 1e3:.1f} ms ({written / kernel:.2f}x)")


if __name__ == "__main__":
    main()
