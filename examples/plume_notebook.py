"""A notebook in a script: a plume from KAVRIN's core, its map, a fit of three
parameters to observed concentrations and the breakthrough curve against them.

    python3 examples/plume_notebook.py [FIGURE_FOLDER]

Runs headless (matplotlib's Agg backend); the figures go to FIGURE_FOLDER
(the current folder by default).
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import kavrin  # noqa: E402

out = sys.argv[1] if len(sys.argv) > 1 else "."
os.makedirs(out, exist_ok=True)

# %% The plume: a 20 m × 3 m source of 1000 mg/L, three years after its release.
model = kavrin.Model(C0=1000, SourceWidth=20, SourceHeight=3, X0=0, X1=120, DX=1, Y0=-40, Y1=40, DY=0.5,
                     AlphaX=8, AlphaY=0.8, AlphaZ=0.08, Kxx=2, GradH=0.005, Porosity=0.25, Retardation=1.5,
                     Decay=0.0005, GaussOrder=104)
t = 1095.0
grid = model.field(t)  # exactly the numbers kavrin-batch writes for this time
figure, axes = plt.subplots(figsize=(8, 4))
levels = [0.1, 1, 10, 50, 100, 250, 500]
shown = axes.contourf(model.x, model.y, np.maximum(grid, 1e-3), levels=levels, cmap="viridis",
                      norm=matplotlib.colors.LogNorm(), extend="max")
figure.colorbar(shown, label="concentration (mg/L)")
axes.set(xlabel="x (m)", ylabel="y (m)", title=f"Plume at t = {t:g} days")
figure.tight_layout()
figure.savefig(os.path.join(out, "plume.png"), dpi=100)

# %% Observations: three wells sampled over three years (made here from a
# "true" aquifer with noise; in practice a table file: kavrin.read_observations).
truth = model.with_parameters(AlphaX=12, AlphaY=1.5, Decay=0.0012)
rng = np.random.default_rng(29)
wells = [(30.0, 0.0), (60.0, -6.0), (90.0, 4.0)]
times = np.arange(60.0, 1095.0, 60.0)
rows = []
for x, y in wells:
    clean = truth.points(x, y, 0.0, times)
    for ti, c in zip(times, clean * rng.lognormal(0, 0.05, times.size)):
        rows.append((c, x, y, 0.0, ti))
observations = np.array(rows)

# %% The fit of the dispersivities and the decay rate, on log
# concentrations so that the early, small values count as much as the peak.
result = kavrin.fit(model, observations, ["AlphaX", "AlphaY", "Decay"], log=True, detection_limit=1e-3)
print(result)
if not result.identifiable:
    print(result.not_identifiable)
for name in result.names:
    low, high = result.intervals[name]
    print(f"{name:8s} {result.values[name]:10.4g}  95%: [{low:.4g}, {high:.4g}]  (true {getattr(truth, name):g})")
print("R2 before", round(result.before["R2"], 4), "after", round(result.after["R2"], 4))

# %% Breakthrough curves: the start model, the fitted one and the data.
fine = np.linspace(1.0, 1095.0, 400)
figure, axes = plt.subplots(figsize=(8, 4))
for (x, y), colour in zip(wells, ["tab:blue", "tab:orange", "tab:green"]):
    taken = (observations[:, 1] == x) & (observations[:, 2] == y)
    axes.plot(observations[taken, 4], observations[taken, 0], "o", color=colour, label=f"observed at x = {x:g} m")
    axes.plot(fine, result.model.points(x, y, 0.0, fine), "-", color=colour, label=f"fitted at x = {x:g} m")
    axes.plot(fine, model.points(x, y, 0.0, fine), ":", color=colour)
axes.set(xlabel="t (days)", ylabel="concentration (mg/L)", title="Breakthrough curves (dotted: before the fit)",
        yscale="log", ylim=(1e-2, 1e3))
axes.legend(fontsize=8)
figure.tight_layout()
figure.savefig(os.path.join(out, "breakthrough.png"), dpi=100)
print("figures in", os.path.abspath(out))
