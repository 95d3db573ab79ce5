#include "workspace/TimeWriting.h"

#include "solution/Solution.h"
#include "text/NumberText.h"
#include "workspace/BlockWriter.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace kavrin {

namespace {

// Shows the progress before a row; a request to stop holds for the rest of the run.
void announceRow(TransportContext& context)
{
    if (context.onRow(context.progress) == RunRequest::StopAfterThisTime) context.stopRequested = true;
}

}  // namespace

void WriteTimeField(const TimeField& field, TransportContext& context, TextFileWriter& timeFile)
{
    const int block = FieldText::blockRows(field.columns);
    std::vector<std::string_view> rows[2];
    BlockWriter writer(timeFile);  // the block before, going to the file
    for (int first = 0, b = 0; first < field.rows; first += block, b = 1 - b) {
        const int last = std::min(field.rows, first + block);
        context.texts[b].format(field, first, last, context.separator, context.workers);
        rows[b].clear();
        for (int k = first; k < last; ++k) {
            announceRow(context);
            if (context.grid)
                for (int j = 0; j < field.columns; ++j) context.grid->set(j + 1, k + 1, field.at(k, j));
            rows[b].push_back(context.texts[b].row(k));
            context.progress.PointsDone += static_cast<std::uint64_t>(field.columns);
        }
        writer.write(rows[b]);
    }
    writer.finish();
}

void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile)
{
    const ModelState& m = context.model;
    LoadGaussOrder(context.quadrature, m.GaussOrder, context.valoresPath, context.separator);
    if (!context.reference) {
        ComputeTimeField(TAtual, m, context.quadrature, context.workers, context.field);
        WriteTimeField(context.field, context, timeFile);
        return;
    }
    std::string row;
    for (int k = 1; k <= m.NY + 1; ++k) {
        announceRow(context);
        const double y = (k - 1) * m.DY + m.Y0;
        row.clear();
        for (int j = 1; j <= m.NX + 1; ++j) {
            const double x = (j - 1) * m.DX + m.X0;
            const double value = PointValue(x, y, m.PlaneZ, TAtual, m, context.quadrature);
            if (context.grid) context.grid->set(j, k, value);
            row += FormatGridValue(value, context.separator);
            row += ' ';
            ++context.progress.PointsDone;
        }
        row += "\r\n";
        timeFile.writeRaw(row);
    }
}

}  // namespace kavrin
