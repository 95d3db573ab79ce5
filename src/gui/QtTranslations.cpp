#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kavrin {

bool UseQtTranslations(bool portuguese)
{
    static QTranslator* translator = nullptr;
    if (!translator) translator = new QTranslator(QCoreApplication::instance());
    QCoreApplication::removeTranslator(translator);
    if (!portuguese) return true;
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace kavrin
