#include "workspace/Transporte.h"

#include "text/NumberText.h"
#include "solution/Solution.h"

#include <cmath>

namespace kavrin {

int ProgressPosition(const RunProgress& progress)
{
    if (progress.PointsTotal == 0) return 0;
    return static_cast<int>(std::nearbyint(100.0 * static_cast<double>(progress.PointsDone)
                                           / static_cast<double>(progress.PointsTotal)));
}

namespace {

void writeWholeField(double TAtual, TransportContext& context, TextFileWriter& timeFile)
{
    TimeField& field = context.field;
    ComputeTimeField(TAtual, context.model, context.quadrature, context.workers, field);
    std::string row(static_cast<std::size_t>(field.columns) * (kGridValueMaxLength + 1) + 2, '\0');
    for (int k = 0; k < field.rows; ++k) {
        if (context.onRow) context.onRow(context.progress);
        char* out = row.data();
        for (int j = 0; j < field.columns; ++j) {
            const double value = field.at(k, j);
            context.grid.set(j + 1, k + 1, value);
            out = WriteGridValue(out, value, context.separator);
            *out++ = ' ';
        }
        *out++ = '\r';
        *out++ = '\n';
        timeFile.writeRaw(std::string_view(row.data(), static_cast<std::size_t>(out - row.data())));
        context.progress.PointsDone += static_cast<std::uint64_t>(field.columns);
    }
}

}  // namespace

void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile)
{
    const ModelState& m = context.model;
    LoadGaussOrder(context.quadrature, m.GaussOrder, context.valoresPath, context.separator);
    if (!context.reference) {
        writeWholeField(TAtual, context, timeFile);
        return;
    }
    std::string row;
    for (int k = 1; k <= m.NY + 1; ++k) {
        if (context.onRow) context.onRow(context.progress);
        const double y = (k - 1) * m.DY + m.Y0;
        row.clear();
        for (int j = 1; j <= m.NX + 1; ++j) {
            const double x = (j - 1) * m.DX + m.X0;
            const double value = m.C0 * PointConcentration(x, y, m.PlaneZ, TAtual, m, context.quadrature);
            context.grid.set(j, k, value);
            row += FormatGridValue(value, context.separator);
            row += ' ';
            ++context.progress.PointsDone;
        }
        row += "\r\n";
        timeFile.writeRaw(row);
    }
}

}  // namespace kavrin
