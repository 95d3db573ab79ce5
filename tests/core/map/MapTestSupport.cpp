#include "core/map/MapTestSupport.h"

#include "TestSupport.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"

namespace kavrin::test {

ModelState DesignModel(const std::vector<std::pair<std::string, std::string>>& changes)
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [name, text] : changes) SetControlText(texts, *ControlOfName(name), text, '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

ResultGrid GridAtTime(const ModelState& model, double t)
{
    TimeField field;
    ComputeTimeField(t, model, LoadedQuadrature(model.GaussOrder), 2, field);
    ResultGrid grid;
    for (int row = 0; row < field.rows; ++row)
        for (int column = 0; column < field.columns; ++column) grid.set(column + 1, row + 1, field.at(row, column));
    return grid;
}

RgbPicture PaintShapes(const MapPicture& picture)
{
    RgbPicture out;
    RgbCanvas canvas = out.canvas();
    for (const MapShape& s : picture.shapes) PaintShape(s, canvas);
    return out;
}

}  // namespace kavrin::test
