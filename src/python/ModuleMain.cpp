// The extension module kavrin._kavrin; kavrin/__init__.py is its Python face.
#include "ModelArrays.h"
#include "PythonModel.h"
#include "PythonResults.h"
#include "workspace/Workspace.h"

#include "text/Errors.h"
#include "text/NumberText.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cmath>
#include <exception>
#include <thread>
#include <stdexcept>

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
std::string RunWatched(const PythonModel& model, const std::string& name, const std::string& root, const std::string& savePath)
{
    std::atomic<int> stop{0};
    std::atomic<bool> done{false};
    std::string folder;
    std::exception_ptr failure;
    std::thread run([&] {
        try {
            folder = RunPythonModel(model, name, root, savePath, stop);
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
        .def("value", [](const PythonModel& model, const std::string& name) -> double {
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
        .def("save_project", [](const PythonModel& model, const py::object& path) { SavePythonModel(model, *PathText(path)); })
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
        .def("points", [](PythonModel& model, const py::array_t<double, py::array::c_style | py::array::forcecast>& x,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& y,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& z,
                          const py::array_t<double, py::array::c_style | py::array::forcecast>& t) {
            const std::size_t count = static_cast<std::size_t>(x.size());
            if (y.size() != x.size() || z.size() != x.size() || t.size() != x.size())
                throw std::invalid_argument("x, y, z and t must have the same size");
            py::array_t<double> out(static_cast<py::ssize_t>(count));
            double* values = out.mutable_data();
            {
                py::gil_scoped_release released;
                ComputePointsInto(model, x.data(), y.data(), z.data(), t.data(), count, values, CheckSignals);
            }
            return out;
        });

    module.def("workspace_root", [] { return WorkspaceRoot(); });
    module.def("run", [](const PythonModel& model, const std::string& name, const py::object& root, const py::object& save) {
        return RunWatched(model, name, RootText(root), save.is_none() ? std::string() : *PathText(save));
    });

    py::class_<PythonResults>(module, "_Results")
        .def(py::init([](const py::object& project, const py::object& root) { return OpenPythonResults(*PathText(project), RootText(root)); }))
        .def_readonly("times", &PythonResults::times)
        .def_readonly("files", &PythonResults::files)
        .def_readonly("index_path", &PythonResults::indexPath)
        .def("shape", [](const PythonResults& r) { return std::make_pair(r.model.NY + 1, r.model.NX + 1); })
        .def("grid", [](const PythonResults& r, std::size_t k) {
            py::array_t<double> out({static_cast<py::ssize_t>(r.model.NY + 1), static_cast<py::ssize_t>(r.model.NX + 1)});
            LoadPythonResultsTime(r, k, out.mutable_data());
            return out;
        })
        .def("time_series", [](const PythonResults& r, double x, double y) { return ChartArray(ResultsTimeSeries(r, x, y)); })
        .def("profile", [](const PythonResults& r, std::size_t k, bool alongX, double across) {
            return ChartArray(ResultsProfile(r, k, alongX, across));
        });
}
