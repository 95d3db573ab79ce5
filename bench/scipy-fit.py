#!/usr/bin/python3
"""The fit the calibration benchmark measures KAVRIN against, as a short script
would do it: scipy.optimize.least_squares (trust-region reflective) on the
logarithms of the parameters, each bounded to [start/100, start*100], the
analytical solution vectorised with numpy over observations and quadrature
nodes.

    scipy-fit.py TABLE.txt ORDER NAME=START ...

TABLE.txt holds one observation per line: C X Y Z T (mg/L, m, m, m, days).
The fitted names are AlphaX, AlphaY, AlphaZ, Kxx, C0; the rest of the model is
the initial project's. Prints NAME=VALUE per fitted parameter, then the cost
and the number of model evaluations.
"""
import sys

import numpy as np
from scipy.optimize import least_squares
from scipy.special import erfc

# The initial project's model (the fitted ones are replaced by their starts).
MODEL = {"C0": 0.5, "SourceWidth": 20.0, "SourceHeight": 3.0, "AlphaX": 1.0, "AlphaY": 0.2, "AlphaZ": 0.2,
         "Kxx": 0.5, "GradH": 0.01, "Porosity": 0.2, "Retardation": 1.0, "Decay": 0.00002}


def concentrations(model, nodes, weights, x, y, z, t):
    """C (mg/L) at every observation: the Gauss–Legendre sum over σ = τ^¼."""
    velocity = model["Kxx"] * model["GradH"] / model["Porosity"] / max(model["Retardation"], 1.0)
    dx, dy, dz = (model[a] * velocity for a in ("AlphaX", "AlphaY", "AlphaZ"))
    half_width, half_height = model["SourceWidth"] / 2, model["SourceHeight"] / 2
    b = t ** 0.25
    sigma = (nodes[None, :] + 1) * b[:, None] / 2          # observations × nodes
    sigma2 = sigma * sigma
    tau = sigma2 * sigma2
    along = np.exp(-(x[:, None] - velocity * tau) ** 2 / (4 * dx * tau) - model["Decay"] * tau)
    sy, sz = 2 * sigma2 * np.sqrt(dy), 2 * sigma2 * np.sqrt(dz)
    across = erfc((-half_width - y[:, None]) / sy) - erfc((half_width - y[:, None]) / sy)
    vertical = erfc((-half_height - z[:, None]) / sz) - erfc((half_height - z[:, None]) / sz)
    total = (along * across * vertical * weights[None, :] / (sigma * sigma2)).sum(axis=1)
    return model["C0"] * x * (total * b / 2) / (2 * np.sqrt(np.pi * dx))


def main():
    table = np.loadtxt(sys.argv[1], ndmin=2)
    order = int(sys.argv[2])
    starts = [argument.split("=") for argument in sys.argv[3:]]
    names = [name for name, _ in starts]
    start = np.array([float(value) for _, value in starts])
    observed, x, y, z, t = table.T
    nodes, weights = np.polynomial.legendre.leggauss(order)
    model = dict(MODEL)

    def residuals(theta):
        model.update(zip(names, np.exp(theta)))
        return observed - concentrations(model, nodes, weights, x, y, z, t)

    log_start = np.log(start)
    fit = least_squares(residuals, log_start, bounds=(log_start - np.log(100), log_start + np.log(100)), method="trf",
                        x_scale="jac", ftol=1e-12, xtol=1e-12, gtol=1e-12)
    for name, value in zip(names, np.exp(fit.x)):
        print(f"{name}={value:.10g}")
    print(f"cost={fit.cost:.6g} evaluations={fit.nfev}")


if __name__ == "__main__":
    main()
