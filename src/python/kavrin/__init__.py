"""KAVRIN from Python: the analytical 3-D advection-dispersion solution of the
desktop program and its batch tool, with numpy arrays.

    import kavrin
    model = kavrin.Model(C0=1000, AlphaX=10, GaussOrder=104)
    grid = model.field(365.0)            # rows y ascending, columns x ascending
    c = model.points(x, y, 0.0, t)       # numpy broadcasting over x, y, z, t

Parameters are the data window's field names (C0, SourceWidth, SourceHeight,
PlaneZ, X0, X1, DX, Y0, Y1, DY, T0, T1, DT, AlphaX, AlphaY, AlphaZ, Kxx, GradH,
Retardation, Porosity, Decay, GaussOrder) and the source options
(SourceHistory, SourceDecay, SourceHalfLife, ReleaseEnd, SourceSteps,
SourceCentre, SourceZones, ControlPlaneX), as kavrin-batch's --set takes them.
Lengths in metres, times in days, concentrations in mg/L.
"""

import os as _os

import numpy as _np

from . import _kavrin

__all__ = ["Model", "Results", "Uncertainty", "FitResult", "run", "workspace_root", "decimal_separator", "read_observations", "compare", "fit", "mass_balance"]

_VALORES = _os.path.join(_os.path.dirname(__file__), "valores.txt")

# The numbers of the model that read as attributes: the input fields and what
# the model derives from them.
_FIELDS = ("C0", "SourceWidth", "SourceHeight", "PlaneZ", "X0", "X1", "DX", "Y0", "Y1", "DY",
           "T0", "T1", "DT", "AlphaX", "AlphaY", "AlphaZ", "Kxx", "GradH", "Retardation",
           "Porosity", "Decay", "GaussOrder", "Velocity", "DispX", "DispY", "DispZ", "NX", "NY")


class Model:
    """The model of a run: the data window's parameters and the source options.

    Model(**parameters) starts from the data window's initial values and sets
    each parameter in the order given, as ``kavrin-batch run --set NAME=VALUE``
    does. A value is a number or its text ("2.5", "steps",
    "0 1|100 0.5"). Unknown names and impossible values raise ValueError with
    the batch tool's message; nothing else is changed.
    """

    def __init__(self, **parameters):
        self._core = _kavrin._Model(None, None, parameters, _VALORES)

    @classmethod
    def _made(cls, core):
        model = cls.__new__(cls)
        model._core = core
        return model

    @classmethod
    def from_project(cls, path, **parameters):
        """The model of a saved project file (.kvr), then `parameters` set over it.
        OSError when the file cannot be read, ValueError when it is not a project."""
        return cls._made(_kavrin._Model(None, path, parameters, _VALORES))

    @classmethod
    def from_parameter_file(cls, path, **parameters):
        """The model of a parameter file (.dat), then `parameters` set over it."""
        return cls._made(_kavrin._Model(path, None, parameters, _VALORES))

    def with_parameters(self, **parameters):
        """A new model: these texts with `parameters` set over them."""
        texts = dict(self.texts())
        texts.update(parameters)
        return Model(**texts)

    def save_project(self, path, separator=None):
        """Saves the parameters as a project file that points to no results yet
        (the desktop and ``kavrin-batch run --project`` open it), its numbers
        with the decimal `separator` ("." or ","; by default
        decimal_separator(), as kavrin-batch writes them)."""
        self._core.save_project(path, _separator(separator))

    def texts(self):
        """The parameters as (name, text) pairs, the texts a project file saves."""
        return list(self._core.texts())

    def __getattr__(self, name):
        if name in _FIELDS:
            return self._core.value(name)
        raise AttributeError(name)

    def __repr__(self):
        return "kavrin.Model(" + ", ".join(f"{n}={v!r}" for n, v in self.texts()) + ")"

    @property
    def x(self):
        """The grid's x coordinates (the columns of `field`), as a run computes them."""
        rows, columns = self._shape()
        return _np.arange(columns) * self.DX + self.X0

    @property
    def y(self):
        """The grid's y coordinates (the rows of `field`), as a run computes them."""
        rows, columns = self._shape()
        return _np.arange(rows) * self.DY + self.Y0

    def _shape(self):
        return (max(0, int(self.NY) + 1), max(0, int(self.NX) + 1))

    def field(self, t, as_written=True):
        """The concentration (mg/L) on the run's grid at time `t` (days) by the
        whole-grid kernel of a run: rows y ascending, columns x ascending.

        With ``as_written=True`` each value is the time file's text read back,
        so the array equals what ``kavrin-batch run`` writes; ``False`` gives
        the kernel's doubles. A sequence of times gives one grid per time.
        Ctrl-C stops between times. ValueError for a grid a run refuses."""
        times = _np.asarray(t, dtype=float)
        grids = self._core.field(times.ravel(), bool(as_written))
        return grids.reshape(times.shape + grids.shape[1:])

    def points(self, x, y, z, t, exact=False):
        """The concentration (mg/L) at points (x, y, z) and times t by the point
        formula, numpy broadcasting over the four. Computed on all cores
        without the GIL; Ctrl-C stops between blocks of points.

        Points at the same time share the time's node factors, and consecutive
        points at the same y (or z) their transverse factors, so a scalar t
        (and z) is the fast case. The exponentials are evaluated in vector
        form, each within one unit in the last place of the C library's, so a
        value differs from the point formula's by at most 1e-15 of the
        source's strongest concentration (where erfc differences cancel far
        out in the plume, a tiny value may differ in its last digits).

        exact=True takes the exponentials from the C library as the point
        formula does: each value is then the point formula's own, bit for bit
        (the value kavrin-batch compare computes there), at about a third of
        the speed. Sources with a history, several zones or a decaying
        concentration are computed by the point formula either way."""
        arrays = _np.broadcast_arrays(*(_np.asarray(a, dtype=float) for a in (x, y, z, t)))
        shape = arrays[0].shape
        flat = [_np.ascontiguousarray(a).ravel() for a in arrays]
        return self._core.points(*flat, bool(exact)).reshape(shape)


def decimal_separator():
    """The decimal separator kavrin-batch writes numbers with on this machine,
    which run, save_project and Results take by default: "," or "." from
    $KAVRIN_DECIMAL_SEPARATOR when it holds one of them, otherwise the radix
    character of the system's locale (LC_NUMERIC), "." when that is unknown.
    Numbers passed to and returned by the module are Python's either way."""
    return _kavrin.decimal_separator()


def _separator(separator):
    if separator is None:
        return decimal_separator()
    if separator not in (".", ","):
        raise ValueError(f'separator takes "." or ",", not {separator!r}')
    return separator


def workspace_root():
    """The results workspace the desktop and kavrin-batch use ($KAVRIN_ROOT or the default)."""
    return _kavrin.workspace_root()


def run(model, name="", root=None, save=None, separator=None):
    """Runs the model as ``kavrin-batch run`` does: the project folder `name`
    (the date and time when empty; "name(2)" … when taken) under the workspace
    `root` (default: workspace_root()), its index and one time file per time.
    `save` also writes a project file (.kvr) that points to the results.
    Numbers are written with the decimal `separator` ("." or ","; by default
    decimal_separator(), as kavrin-batch writes them on this machine, so the
    files are the same bytes). Returns the project folder's path. Ctrl-C stops
    once the time being written is complete (the complete times stay listed)
    and raises KeyboardInterrupt. ValueError/OSError with the batch tool's
    messages."""
    return _kavrin.run(model._core, name, root, save, _separator(separator))


class Results:
    """The results of a saved project (.kvr) as the desktop reads them.

    ``results.times`` are the complete times (days), ``results[t]`` the grid
    of time t (rows y ascending, columns x ascending, as in model.field),
    ``results.model`` the project's model. The charts' series:
    ``time_series(x, y)``, ``longitudinal(t, y)`` and ``transversal(t, x)``,
    each an array of (position or time, concentration) rows. `separator`:
    the decimal separator the files were written with (by default
    decimal_separator(), as run and kavrin-batch write them)."""

    def __init__(self, project_path, root=None, separator=None):
        self._core = _kavrin._Results(project_path, root, _separator(separator))
        self.model = Model.from_project(project_path)
        self.times = _np.array(self._core.times)
        self.files = list(self._core.files)

    def __len__(self):
        return len(self.times)

    def _time_index(self, t):
        found = _np.flatnonzero(self.times == float(t))
        if found.size == 0:
            raise KeyError(f"no results at t = {t!r}; the times are {list(self.times)}")
        return int(found[0])

    def __getitem__(self, t):
        """The grid of time t, exactly as its time file holds it."""
        return self._core.grid(self._time_index(t))

    def __iter__(self):
        return iter(self.times)

    def time_series(self, x, y):
        """Concentration against time at the node nearest (x, y): rows (t, c)."""
        return self._core.time_series(float(x), float(y))

    def longitudinal(self, t, y):
        """The profile along X of time t at the row nearest y: rows (x, c)."""
        return self._core.profile(self._time_index(t), True, float(y))

    def transversal(self, t, x):
        """The profile along Y of time t at the column nearest x: rows (y, c)."""
        return self._core.profile(self._time_index(t), False, float(x))


def _surfer_grid(path):
    """A Surfer 6 text grid as the exports write it: (array rows × columns,
    y ascending; x range; y range)."""
    with open(path, "rb") as f:
        words = f.read().split()
    if len(words) < 9 or words[0] != b"DSAA":
        raise OSError(f"{path} is not a Surfer text grid")
    columns, rows = int(words[1]), int(words[2])
    values = _np.array(words[9:], dtype=float)
    if values.size != rows * columns:
        raise OSError(f"{path} holds {values.size} values, not {rows} x {columns}")
    return values.reshape(rows, columns), (float(words[3]), float(words[4])), (float(words[5]), float(words[6]))


def _csv_table(path, text_columns=()):
    """A results table (a heading line, then comma-separated numbers) as a
    structured array; `text_columns` are kept as the texts written."""
    with open(path, "r", encoding="ascii", newline="") as f:
        lines = [line.rstrip("\r\n") for line in f if line.strip()]
    if not lines:
        raise OSError(f"{path} is empty")
    names = lines[0].split(",")
    rows = [line.split(",") for line in lines[1:]]
    types = [(n, "U32" if n in text_columns else float) for n in names]
    table = _np.empty(len(rows), dtype=types)
    for k, n in enumerate(names):
        table[n] = [row[k] for row in rows]
    return table


def _typed_number(text):
    """A number as typed on the batch tool's command line, with either decimal separator."""
    return float(text.replace(",", "."))


class Uncertainty:
    """The results of ``kavrin-batch uncertainty`` (or ``merge``) read from
    their folder ``--to DIR``, as arrays.

    ``times``: the chosen times (days), in the run's order, with
    ``time_texts`` as typed (they name the files; the CSV files write them
    with a point as the decimal separator). ``thresholds``: the
    thresholds (mg/L), ascending, with ``threshold_texts`` as typed (with
    either decimal separator).
    ``exceedance[k]``: the fraction of realizations above ``thresholds[k]``,
    an array (times, rows, columns) — rows y ascending, columns x ascending,
    as ``Model.field``. ``mean``, ``sd`` (N − 1 in the denominator), ``p05``,
    ``p50``, ``p95``: (times, rows, columns) in mg/L, the per-node percentiles
    from the logarithmic histogram. ``x``, ``y``: the grid's coordinates.
    ``receptors``: a structured array, one row per receptor and time, with
    receptor, x, y, z, time, mean, p05, p50, p95, p_exceeds,
    p_exceeded_by_then, p_first_exceeded_then, p_never_exceeded (the
    probabilities of the standard, the first threshold given). ``plume_length``:
    a structured array per time of time, mean, p05, p50, p95, largest (m).
    Each value is the file's text read back. OSError when a file is missing
    or is not what the run writes."""

    _MAPS = ("mean", "sd", "p05", "p50", "p95")

    def __init__(self, folder):
        self.folder = _os.fspath(folder)
        self.plume_length = _csv_table(_os.path.join(self.folder, "plume_length.csv"), ("time",))
        self.time_texts = [self._typed_time(str(t)) for t in self.plume_length["time"]]
        self.times = _np.array([_typed_number(t) for t in self.time_texts])
        lengths = _np.empty(len(self.plume_length), dtype=[(n, float) for n in self.plume_length.dtype.names])
        for n in self.plume_length.dtype.names:
            lengths[n] = self.plume_length[n].astype(float)
        self.plume_length = lengths
        self.receptors = self._receptors()
        first = f"_T{self.time_texts[0]}.grd" if self.time_texts else None
        texts = [name[len("exceed_"):-len(first)] for name in sorted(_os.listdir(self.folder))
                 if first and name.startswith("exceed_") and name.endswith(first)]
        texts.sort(key=_typed_number)
        self.threshold_texts = texts
        self.thresholds = _np.array([_typed_number(t) for t in texts])
        grids = {}
        for name in self._MAPS + tuple("exceed_" + t for t in texts):
            layers = []
            for t in self.time_texts:
                values, (x0, x1), (y0, y1) = _surfer_grid(_os.path.join(self.folder, f"{name}_T{t}.grd"))
                layers.append(values)
            grids[name] = _np.array(layers) if layers else _np.zeros((0, 0, 0))
        for name in self._MAPS:
            setattr(self, name, grids[name])
        self.exceedance = _np.array([grids["exceed_" + t] for t in texts])
        rows, columns = self.mean.shape[1:] if self.mean.ndim == 3 else (0, 0)
        if self.time_texts:
            self.x = _np.linspace(x0, x1, columns) if columns > 1 else _np.array([x0])
            self.y = _np.linspace(y0, y1, rows) if rows > 1 else _np.array([y0])

    def _typed_time(self, written):
        """The time as typed, which names the files, from the CSV's text with a
        point as its decimal separator: typed with a comma where the files say so."""
        typed = written.replace(".", ",")
        if typed != written and not _os.path.exists(_os.path.join(self.folder, f"mean_T{written}.grd")) and \
                _os.path.exists(_os.path.join(self.folder, f"mean_T{typed}.grd")):
            return typed
        return written

    def _receptors(self):
        table = _csv_table(_os.path.join(self.folder, "receptors.csv"), ("time",))
        out = _np.empty(len(table), dtype=[(n, int if n == "receptor" else float) for n in table.dtype.names])
        for n in table.dtype.names:
            out[n] = table[n].astype(float)
        return out

    def time_index(self, t):
        """The index of time t (days) among ``times``; KeyError when not chosen."""
        found = _np.flatnonzero(self.times == float(t))
        if found.size == 0:
            raise KeyError(f"no uncertainty results at t = {t!r}; the times are {list(self.times)}")
        return int(found[0])

    def __repr__(self):
        return (f"kavrin.Uncertainty({self.folder!r}: {len(self.times)} times, thresholds "
                f"{list(self.threshold_texts)}, grid {self.mean.shape[1:]}, {len(self.receptors)} receptor rows)")


def read_observations(path):
    """An observation table file as the calibration window imports it:
    (array of rows C, X, Y, Z, T; the weight column's texts)."""
    table, weights = _kavrin.read_observations(path)
    return table, list(weights)


def _observations(observations):
    """Rows (C, X, Y, Z, T) and weight texts from a table file or an array."""
    if isinstance(observations, (str, bytes, _os.PathLike)):
        return read_observations(observations)
    return _np.asarray(observations, dtype=float), []


def compare(model, observations):
    """The model at every observation: a dict with "observed", "calculated",
    "residual" (observed - calculated), "R2" and "MAE" (as kavrin-batch
    compare prints them), "slope" and "intercept" of calculated on observed.
    `observations`: a table file, or rows (C, X, Y, Z, T)."""
    table, _ = _observations(observations)
    result = _kavrin.compare(model._core, table)
    result["observed"] = table[:, 0].copy() if len(table) else _np.zeros(0)
    result["residual"] = result["observed"] - result["calculated"]
    return result


class FitResult:
    """What a fit found. ``values``, ``standard_errors`` and the 95 %
    ``intervals`` are dicts by parameter name (NaN for a value at a bound, or
    when the observations cannot tell the parameters apart: see
    ``identifiable`` and ``not_identifiable``); ``correlation`` is the matrix
    in the order of ``names``; ``before`` and ``after`` hold the objective, R2,
    MAE and RMSE; ``model`` is the fitted kavrin.Model."""

    def __init__(self, fields):
        self.names = list(fields["names"])
        self.initial = dict(zip(self.names, fields["initial"]))
        self.values = dict(zip(self.names, fields["values"]))
        self.standard_errors = dict(zip(self.names, fields["standard_errors"]))
        self.intervals = {n: (lo, hi) for n, lo, hi in zip(self.names, fields["lower95"], fields["upper95"])}
        self.bound = {n: b for n, b in zip(self.names, fields["bound"]) if b}
        correlation = _np.array(fields["correlation"], dtype=float)
        n = len(self.names)
        self.correlation = correlation.reshape(n, n) if correlation.size == n * n else _np.full((n, n), _np.nan)
        self.before = dict(fields["before"])
        self.after = dict(fields["after"])
        self.calculated_before = _np.array(fields["calculated_before"])
        self.calculated_after = _np.array(fields["calculated_after"])
        self.iterations = fields["iterations"]
        self.stop = fields["stop"]
        self.message = fields["message"]
        self.degrees_of_freedom = fields["degrees_of_freedom"]
        self.t975 = fields["t975"]
        self.identifiable = fields["identifiable"]
        self.not_identifiable = fields["not_identifiable"]
        self.model = Model._made(fields["model"])

    def __repr__(self):
        rows = [f"{n}: {self.initial[n]:.6g} -> {self.values[n]:.6g} +/- {self.standard_errors[n]:.3g}" for n in self.names]
        return "kavrin.FitResult(" + "; ".join(rows) + f"; R2 {self.after['R2']:.6g}, {self.stop})"


def fit(model, observations, parameters, bounds=None, log=False, weights=None, detection_limit=0.0):
    """Fits `parameters` (field names, as kavrin-batch-fit's --fit takes them:
    AlphaX, Kxx, SourceDecay, …) to the observations, as kavrin-batch-fit does.

    `bounds`: {name: (low, high)}; the others take the default bounds around
    their start. `log`: residuals of log10 concentrations. `weights`: "table"
    (the table file's weight column, or none), "relative", or one number per
    observation. Ctrl-C cancels between iterations (KeyboardInterrupt).
    Returns a FitResult; ValueError with the batch fit's messages."""
    table, texts = _observations(observations)
    rule = "table"
    if isinstance(weights, str):
        rule = weights
    elif weights is not None:
        texts = [repr(float(w)) for w in _np.asarray(weights, dtype=float).ravel()]
    bounds = {name: (float(lo), float(hi)) for name, (lo, hi) in (bounds or {}).items()}
    return FitResult(_kavrin.fit(model._core, table, texts, list(parameters), bounds, bool(log),
                                 float(detection_limit), rule))


def mass_balance(model, times):
    """The plume's mass balance at `times` (days): a structured array with
    time, entered, decayed, dissolved, sorbed (mg), discharge_control (NaN
    without ControlPlaneX) and discharge_edge (mg/day), as the desktop's
    balance gives them."""
    rows = _kavrin.mass_balance(model._core, [float(t) for t in _np.atleast_1d(times)])
    names = ["time", "entered", "decayed", "dissolved", "sorbed", "discharge_control", "discharge_edge"]
    out = _np.empty(len(rows), dtype=[(n, float) for n in names])
    for k, n in enumerate(names):
        out[n] = rows[:, k]
    return out
