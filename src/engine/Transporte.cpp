#include "engine/Transporte.h"

#include "engine/NumberText.h"
#include "engine/Solution.h"

#include <cmath>

namespace kavrin {

int ProgressPosition(const RunProgress& progress)
{
    if (progress.PointsTotal == 0) return 0;
    return static_cast<int>(std::nearbyint(100.0 * static_cast<double>(progress.PointsDone)
                                           / static_cast<double>(progress.PointsTotal)));
}

void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile)
{
    const ModelState& m = context.model;
    LoadGaussOrder(context.quadrature, m.GaussOrder, context.valoresPath, context.separator);
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
