#include "model/Variaveis.h"

#include "model/FloatChecks.h"
#include "model/SourceTextRules.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <climits>
#include <cmath>

namespace kavrin {

double CellCount(double from, double to, double step)
{
    return std::nearbyint(CheckedDivide(to - from, step));  // default rounding: halves to even
}

namespace {

int cellCountField(double count)
{
    if (!std::isfinite(count)) throw FloatError::overflow();
    if (count > INT_MAX) return INT_MAX;
    if (count < INT_MIN) return INT_MIN;
    return static_cast<int>(count);
}

}  // namespace

void Variaveis(const ParameterTexts& texts, ModelState& model, char separator)
{
    for (const ParameterField& field : kParameterFields)
        model.*field.member = ParseFloat(ArrumaDecimal(texts.edit[static_cast<std::size_t>(field.edit)], separator), separator);
    model.source = ParseSourceTexts(texts.source, model, separator);
    DeriveModelFields(model);
    model.GaussOrder = ParseInteger(texts.comboBox1);
}

void DeriveModelFields(ModelState& model)
{
    const double flow = model.Kxx * model.GradH;
    model.Velocity = model.Retardation >= 1 ? CheckedDivide(CheckedDivide(flow, model.Porosity), model.Retardation)
                                            : CheckedDivide(flow, model.Porosity);
    model.NX = cellCountField(CellCount(model.X0, model.X1, model.DX));
    model.NY = cellCountField(CellCount(model.Y0, model.Y1, model.DY));
    model.DispX = model.AlphaX * model.Velocity;
    model.DispY = model.AlphaY * model.Velocity;
    model.DispZ = model.AlphaZ * model.Velocity;
    // The first zone's extent about its centre.
    model.YMin = model.source.firstZoneY - model.SourceWidth / 2;
    model.YMax = model.source.firstZoneY + model.SourceWidth / 2;
    model.ZMin = model.source.firstZoneZ - model.SourceHeight / 2;
    model.ZMax = model.source.firstZoneZ + model.SourceHeight / 2;
}

}  // namespace kavrin
