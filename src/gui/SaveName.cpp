#include "gui/SaveName.h"

namespace kavrin {

namespace {

// A bare extension ("/tmp/.kvr") is no name: the extension still goes after it.
bool endsWithExtension(const QString& chosen, const QString& extension)
{
    return chosen.size() > extension.size() && chosen.endsWith(extension, Qt::CaseInsensitive) &&
           chosen.at(chosen.size() - extension.size() - 1) != '/';
}

}  // namespace

QString WithExtension(const QString& chosen, const QString& extension, const QStringList& alsoAccepted)
{
    if (endsWithExtension(chosen, extension)) return chosen;
    for (const QString& accepted : alsoAccepted)
        if (endsWithExtension(chosen, accepted)) return chosen;
    return chosen + extension;
}

QString WithoutExtension(const QString& chosen, const QString& extension)
{
    return endsWithExtension(chosen, extension) ? chosen.left(chosen.size() - extension.size()) : chosen;
}

QString PictureSaveName(const QString& chosen)
{
    return WithExtension(chosen, QStringLiteral(".jpeg"), {QStringLiteral(".jpg")});
}

}  // namespace kavrin
