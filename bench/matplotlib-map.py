#!/usr/bin/python3
"""The map the picture benchmark measures KAVRIN against, as a short script
would draw it: matplotlib's contourf of one results file with the map's 62
levels and colours, a colour bar, axis labels and the time as the title,
saved as an 800 x 640 PNG.

    matplotlib-map.py RESULTS.txt X0 X1 Y0 Y1 C0 TIME OUT.png

RESULTS.txt is one time's grid as the run writes it: one line per row from
Y0 up, the values of the row from X0 on, each followed by a blank, with a
decimal point.
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def levels(c0):
    """The map's 62 levels: 0.001, their geometric mean with C0/60, C0 (k-1)/60 up to C0."""
    upper = [max(c0 * (k - 1) / 60, 0.001) for k in range(2, 62)]
    return [0.001, float(np.exp((np.log(0.001) + np.log(upper[0])) / 2))] + upper


def colour(index, brighten):
    """The map's rainbow: index 0 red to 1020 blue, the three lowest bands brightened."""
    i = int(index)
    if i <= 255:
        r, g, b = 255, i, 0
    elif i <= 510:
        r, g, b = 510 - i, 255, 0
    elif i <= 765:
        r, g, b = 0, 255, i - 510
    else:
        r, g, b = 0, 1020 - i, 255
    return ((r + brighten) % 256 / 255, (g + brighten) % 256 / 255, b / 255)


def main():
    path, x0, x1, y0, y1, c0, time, out = sys.argv[1:9]
    x0, x1, y0, y1, c0 = (float(v) for v in (x0, x1, y0, y1, c0))
    with open(path) as results:
        rows = [np.array(line.split(), dtype=float) for line in results if line.strip()]
    grid = np.vstack(rows)
    xs = np.linspace(x0, x1, grid.shape[1])
    ys = np.linspace(y0, y1, grid.shape[0])
    bands = levels(c0)
    brighten = [212, 141, 70] + [0] * (len(bands) - 3)
    colours = [colour(round((level - c0) * 1020 / (0 - c0)), brighten[k]) for k, level in enumerate(bands)]
    figure, axes = plt.subplots(figsize=(8, 6.4), dpi=100)
    filled = axes.contourf(xs, ys, grid, levels=bands + [max(grid.max(), c0) * 1.0001], colors=colours)
    axes.set_aspect("equal")
    axes.set_xlabel("x (m)")
    axes.set_ylabel("y (m)")
    axes.set_title("Time = %s  days" % time)
    figure.colorbar(filled, ax=axes, label="Concentration (mg/L)", shrink=0.6)
    figure.savefig(out, dpi=100)


if __name__ == "__main__":
    main()
