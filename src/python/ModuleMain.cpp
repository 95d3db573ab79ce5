// The extension module kavrin._kavrin; kavrin/__init__.py is its Python face.
#include "ModelArrays.h"
#include "PointKernel.h"
#include "PythonFit.h"
#include "PythonModel.h"
#include "PythonResults.h"
#include "calibration/FitParameters.h"
#include "calibration/FitTexts.h"
#include "solution/ExpErfc.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "workspace/Workspace.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <thread>

namespace py = pybind11;
using namespace kavrin;

namespace {

// A keyword's value as the batch tool's --set text: a float by its shortest
// exact text, an int or a str as it is; a non-finite float by its Python text,
// which the conversion then refuses with the batch tool's message.
std::string SetText(const std::string& name, const py::handle& value)
{
    if (py::isinstance<py::bool_>(value))
        throw std::invalid_argument("parameter \"" + name + "\" takes a number or a text, not True or False");
    if (py::isinstance<py::float_>(value)) {
        const double number = value.cast<double>();
        if (!std::isfinite(number)) return py::str(value).cast<std::string>();
        return RoundTripText(number, '.');
    }
    if (py::isinstance<py::int_>(value) || py::isinstance<py::str>(value)) return py::str(value).cast<std::string>();
    throw std::invalid_argument("parameter \"" + name + "\" takes a number or a text, not " +
                                py::str(value.get_type().attr("__name__")).cast<std::string>());
}

std::vector<std::pair<std::string, std::string>> SetTexts(const py::dict& parameters)
{
    std::vector<std::pair<std::string, std::string>> sets;
    for (const auto& [key, value] : parameters) {
        const std::string name = py::str(key).cast<std::string>();
        sets.emplace_back(name, SetText(name, value));
    }
    return sets;
}

std::optional<std::string> PathText(const py::object& path)
{
    if (path.is_none()) return std::nullopt;
    return py::str(py::module_::import("os").attr("fspath")(path)).cast<std::string>();
}

// Stops a long call once Python has a signal pending (Ctrl-C): the workers are
// idle when this runs, the GIL is taken back for the check.
void CheckSignals()
{
    py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
}

std::string RootText(const py::object& root)
{
    std::string text = root.is_none() ? WorkspaceRoot() : *PathText(root);
    if (!text.empty() && text.back() != '/') text += '/';
    return text;
}

// The run on a thread of its own while this one, holding the GIL, watches for
// Ctrl-C: a signal asks the run to stop once the time being written is
// complete, then KeyboardInterrupt follows with the complete times kept.
std::string RunWatched(const PythonModel& model, const std::string& name, const std::string& root, const std::string& savePath,
                       char separator)
{
    std::atomic<int> stop{0};
    std::atomic<bool> done{false};
    std::string folder;
    std::exception_ptr failure;
    std::thread run([&] {
        try {
            folder = RunPythonModel(model, name, root, savePath, separator, stop);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    bool interrupted = false;
    while (!done) {
        {
            py::gil_scoped_release released;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!interrupted && PyErr_CheckSignals() != 0) {
            interrupted = true;
            stop = 2;
        }
    }
    run.join();
    if (interrupted) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
    return folder;
}

py::array_t<double> ChartArray(const ChartPoints& points)
{
    py::array_t<double> out({static_cast<py::ssize_t>(points.size()), py::ssize_t{2}});
    double* values = out.mutable_data();
    for (const ChartPoint& point : points) {
        *values++ = point.x;
        *values++ = point.y;
    }
    return out;
}

std::vector<Observation> ObservationsOf(const py::array_t<double, py::array::c_style | py::array::forcecast>& table)
{
    if (table.ndim() != 2 || table.shape(1) != 5)
        throw std::invalid_argument("observations take one row per observation: C, X, Y, Z, T");
    std::vector<Observation> observations;
    const double* v = table.data();
    for (py::ssize_t i = 0; i < table.shape(0); ++i, v += 5) observations.push_back({v[0], v[1], v[2], v[3], v[4]});
    return observations;
}

py::dict StatisticsOf(const FitStatistics& s)
{
    py::dict d;
    d["objective"] = s.objective;
    d["R2"] = s.R2;
    d["MAE"] = s.MAE;
    d["RMSE"] = s.RMSE;
    return d;
}

py::dict FitDict(PythonFit& fit)
{
    const FitResult& r = fit.result;
    py::dict d;
    py::list names, initial, values, errors, lower, upper, bound;
    for (const FittedParameter& p : r.parameters) {
        names.append(InfoOf(p.parameter).name);
        initial.append(p.initial);
        values.append(p.value);
        const double nan = std::nan("");
        errors.append(p.hasInterval() && r.identifiable() ? p.standardError : nan);
        lower.append(p.hasInterval() && r.identifiable() ? p.lower95 : nan);
        upper.append(p.hasInterval() && r.identifiable() ? p.upper95 : nan);
        bound.append(p.bound == BoundReached::Lower ? "lower" : p.bound == BoundReached::Upper ? "upper" : "");
    }
    d["names"] = names;
    d["initial"] = initial;
    d["values"] = values;
    d["standard_errors"] = errors;
    d["lower95"] = lower;
    d["upper95"] = upper;
    d["bound"] = bound;
    d["correlation"] = r.correlation;
    d["before"] = StatisticsOf(r.before);
    d["after"] = StatisticsOf(r.after);
    d["calculated_before"] = r.calculatedBefore;
    d["calculated_after"] = r.calculatedAfter;
    d["iterations"] = r.iterations;
    d["stop"] = StopText(BuiltInFitTexts(false), r.stop);
    d["message"] = r.solverMessage;
    d["degrees_of_freedom"] = r.degreesOfFreedom;
    d["t975"] = r.t975;
    d["identifiable"] = r.identifiable();
    d["not_identifiable"] = r.identifiable() ? std::string() : NotIdentifiableText(BuiltInFitTexts(false), r);
    d["model"] = py::cast(std::move(fit.fitted));
    return d;
}

}  // namespace

PYBIND11_MODULE(_kavrin, module)
{
    module.doc() = "The core of KAVRIN: the model, its fields and points, runs, results, comparison and fit.";

    // The refusals surface with the batch tool's messages.
    py::register_exception_translator([](std::exception_ptr failure) {
        try {
            if (failure) std::rethrow_exception(failure);
        } catch (const FileError& error) {
            PyErr_SetString(PyExc_OSError, error.what());
        } catch (const KavrinError& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        }
    });

    py::class_<PythonModel>(module, "_Model")
        .def(py::init([](const py::object& params, const py::object& project, const py::dict& sets, const std::string& valores) {
            return MakePythonModel(PathText(params), PathText(project), SetTexts(sets), valores);
        }))
        .def("texts", &ModelTexts)
        .def("value",
             [](const PythonModel& model, const std::string& name) -> double {
                 for (const ParameterField& field : kParameterFields)
                     if (name == field.field) return model.model.*field.member;
                 if (name == "GaussOrder") return model.model.GaussOrder;
                 if (name == "Velocity") return model.model.Velocity;
                 if (name == "DispX") return model.model.DispX;
                 if (name == "DispY") return model.model.DispY;
                 if (name == "DispZ") return model.model.DispZ;
                 if (name == "NX") return model.model.NX;
                 if (name == "NY") return model.model.NY;
                 throw py::attribute_error(name);
             })
        .def("save_project", [](const PythonModel& model, const py::object& path,
                                char separator) { SavePythonModel(model, *PathText(path), separator); })
        .def("field",
             [](PythonModel& model, const py::array_t<double, py::array::c_style | py::array::forcecast>& times, bool asWritten) {
                 const auto [rows, columns] = FieldShape(model);
                 const py::ssize_t count = times.size();
                 py::array_t<double> out({count, static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(columns)});
                 std::vector<double> timesCopy(times.data(), times.data() + count);
                 double* values = out.mutable_data();
                 const std::size_t size = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
                 {
                     py::gil_scoped_release released;
                     for (py::ssize_t k = 0; k < count; ++k) {
                         ComputeFieldInto(model, timesCopy[k], asWritten, values + k * size);
                         CheckSignals();
                     }
                 }
                 return out;
             })
        // One point by the core's point formula alone, the reference `points` is held to.
        .def("point_formula",
             [](PythonModel& model, double x, double y, double z, double t) {
                 return PointValue(x, y, z, t, SourceSuperposition(model.model), model.model, model.loadedQuadrature());
             })
        .def("points", [](PythonModel& model, const py::array_t<double, py::array::c_style | py::array::forcecast>& x,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& y,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& z,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& t, bool exact) {
            const std::size_t count = static_cast<std::size_t>(x.size());
            if (y.size() != x.size() || z.size() != x.size() || t.size() != x.size())
                throw std::invalid_argument("x, y, z and t must have the same size");
            py::array_t<double> out(static_cast<py::ssize_t>(count));
            double* values = out.mutable_data();
            {
                py::gil_scoped_release released;
                ComputePointsInto(model, x.data(), y.data(), z.data(), t.data(), count, exact, values, CheckSignals);
            }
            return out;
        });

    module.def("workspace_root", [] { return WorkspaceRoot(); });
    module.def("decimal_separator", [] { return std::string(1, SystemDecimalSeparator()); });
    module.def("run", [](const PythonModel& model, const std::string& name, const py::object& root, const py::object& save,
                         char separator) {
        return RunWatched(model, name, RootText(root), save.is_none() ? std::string() : *PathText(save), separator);
    });

    py::class_<PythonResults>(module, "_Results")
        .def(py::init([](const py::object& project, const py::object& root, char separator) {
            return OpenPythonResults(*PathText(project), RootText(root), separator);
        }))
        .def_readonly("times", &PythonResults::times)
        .def_readonly("files", &PythonResults::files)
        .def_readonly("index_path", &PythonResults::indexPath)
        .def("shape", [](const PythonResults& r) { return std::make_pair(r.model.NY + 1, r.model.NX + 1); })
        .def("grid",
             [](const PythonResults& r, std::size_t k) {
                 py::array_t<double> out({static_cast<py::ssize_t>(r.model.NY + 1), static_cast<py::ssize_t>(r.model.NX + 1)});
                 LoadPythonResultsTime(r, k, out.mutable_data());
                 return out;
             })
        .def("time_series", [](const PythonResults& r, double x, double y) { return ChartArray(ResultsTimeSeries(r, x, y)); })
        .def("profile", [](const PythonResults& r, std::size_t k, bool alongX, double across) {
            return ChartArray(ResultsProfile(r, k, alongX, across));
        });

    module.def("read_observations", [](const py::object& path) {
        const auto [observations, weights] = ReadObservationFile(*PathText(path));
        py::array_t<double> table({static_cast<py::ssize_t>(observations.size()), py::ssize_t{5}});
        double* v = table.mutable_data();
        for (const Observation& o : observations)
            for (double value : {o.C, o.X, o.Y, o.Z, o.T}) *v++ = value;
        return py::make_tuple(table, weights);
    });
    module.def("compare", [](PythonModel& model, const py::array_t<double, py::array::c_style | py::array::forcecast>& table) {
        const std::vector<Observation> observations = ObservationsOf(table);
        Comparison c;
        {
            py::gil_scoped_release released;
            c = ComparePythonModel(model, observations);
        }
        const ComparisonStatistics& s = c.statistics;
        py::dict d;
        d["calculated"] = py::array_t<double>(static_cast<py::ssize_t>(c.calculated.size()), c.calculated.data());
        for (const auto& [name, value] : {std::pair<const char*, double>{"R2", s.R2},
                                          {"MAE", s.MAE},
                                          {"slope", s.slope},
                                          {"intercept", s.intercept},
                                          {"mean_observed", s.meanObserved},
                                          {"mean_calculated", s.meanCalculated}})
            d[name] = value;
        return d;
    });
    module.def("fit", [](const PythonModel& model, const py::array_t<double, py::array::c_style | py::array::forcecast>& table,
                         const std::vector<std::string>& weights, const std::vector<std::string>& parameters,
                         const std::map<std::string, std::pair<double, double>>& bounds, bool logResiduals, double detectionLimit,
                         const std::string& rule) {
        PythonFitChoices choices{parameters, bounds, logResiduals, detectionLimit, WeightRule::Table, weights};
        if (rule == "relative")
            choices.weightRule = WeightRule::Relative;
        else if (rule != "table")
            throw std::invalid_argument("--weights takes table or relative, not \"" + rule + "\"");
        const std::vector<Observation> observations = ObservationsOf(table);
        bool interrupted = false;
        std::optional<PythonFit> fit;
        {
            py::gil_scoped_release released;
            fit.emplace(FitPythonModel(model, observations, choices, [&interrupted] {
                py::gil_scoped_acquire gil;
                interrupted = interrupted || PyErr_CheckSignals() != 0;
                return !interrupted;
            }));
        }
        if (interrupted) throw py::error_already_set();
        return FitDict(*fit);
    });
    module.def("mass_balance", [](const PythonModel& model, const std::vector<double>& times) {
        std::vector<MassBalanceRow> rows;
        {
            py::gil_scoped_release released;
            rows = ComputeMassBalance(model.model, times);
        }
        py::array_t<double> out({static_cast<py::ssize_t>(rows.size()), py::ssize_t{7}});
        double* v = out.mutable_data();
        for (const MassBalanceRow& r : rows)
            for (double value : {r.time, r.entered, r.decayed, r.dissolved, r.sorbed, r.dischargeControl, r.dischargeEdge})
                *v++ = value;
        return out;
    });

    // For the tests: the fused point kernel on fewer lanes or none (the
    // vectorised form a processor without AVX2 runs), its exp and erfc differences.
    module.def("_set_point_kernel_lanes", [](int lanes) { return SetPointKernelLanes(lanes); });
    module.def("_point_kernel_available", [] { return PointKernelAvailable(); });
    module.def("_point_kernel_lanes", [] { return PointKernelLanes(); });
    // For the benchmark: node terms left out without computing them, of all, since the last call.
    module.def("_point_kernel_node_counts", [] { return ReadPointKernelNodeCounts(); });
    module.def("_point_kernel_exps", [](const py::array_t<double, py::array::c_style | py::array::forcecast>& x, bool portable) {
        py::array_t<double> out(x.size());
        PointKernelExps(x.data(), static_cast<std::size_t>(x.size()), portable, out.mutable_data());
        return out;
    });
    module.def("_exp_erfc", [](const py::array_t<double, py::array::c_style | py::array::forcecast>& y) {
        py::array_t<double> out(y.size());
        for (py::ssize_t i = 0; i < y.size(); ++i) out.mutable_data()[i] = ExpErfc(0, y.data()[i]);
        return out;
    });
    module.def("_erfc_differences", [](const py::array_t<double, py::array::c_style | py::array::forcecast>& a,
                                       const py::array_t<double, py::array::c_style | py::array::forcecast>& b, bool portable) {
        if (a.size() != b.size()) throw std::invalid_argument("a and b must have the same size");
        py::array_t<double> out(a.size());
        PointKernelErfcDifferences(a.data(), b.data(), static_cast<std::size_t>(a.size()), portable, out.mutable_data());
        return out;
    });

    // For the benchmark: the seconds the run's kernel takes per time, alone (no array, no copy).
    module.def("_kernel_seconds", [](PythonModel& model, double t, int repeats) {
        py::gil_scoped_release released;
        TimeField field;
        const QuadratureState& quadrature = model.loadedQuadrature();
        ComputeTimeField(t, model.model, quadrature, WorkerCount(), field);
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < repeats; ++k) ComputeTimeField(t, model.model, quadrature, WorkerCount(), field);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
    });
}
