#include "project/OrderInEffect.h"

#include "project/TFormDados.h"
#include "solution/Quadrature.h"

namespace kavrin {

bool GaussOrderGivesNodes(AppState& app, Dialogs& dialogs)
{
    if (app.quadrature.GaussN != 0 || !app.windows.dados) return true;
    const auto order = GaussOrderOutsideTable(app.windows.dados->texts().comboBox1);
    if (!order) return true;
    dialogs.notice(app.text(AddedText::GaussOrderOutsideTable).arg(*order));
    return false;
}

}  // namespace kavrin
