#include "gui/ChartNumbers.h"

#include <QLocale>

namespace kavrin {

void WriteTicksAsNumberTexts(QChart* chart, char separator)
{
    QLocale ticks = separator == ',' ? QLocale(QLocale::Portuguese, QLocale::Brazil) : QLocale::c();
    ticks.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(ticks);
    chart->setLocalizeNumbers(true);
}

}  // namespace kavrin
