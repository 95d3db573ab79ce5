// The file a save dialog's answer names on the disk: the program adds its
// extension to a name that does not end with it already, so that a name typed
// with the extension is written under exactly that name.
#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

// `chosen` with `extension` (".kvr") appended, unless it already ends with it
// or with one of `alsoAccepted` (".jpg" for ".jpeg"), in any letter case.
QString WithExtension(const QString& chosen, const QString& extension, const QStringList& alsoAccepted = {});

// `chosen` without a trailing `extension`, for writers that append it themselves.
QString WithoutExtension(const QString& chosen, const QString& extension);

// The extensions of the files a save dialog's answer gets.
inline const QString kProjectExtension = QStringLiteral(".kvr");
inline const QString kParameterExtension = QStringLiteral(".dat");
inline const QString kTextExtension = QStringLiteral(".txt");
inline const QString kGridExtension = QStringLiteral(".grd");
inline const QString kGifExtension = QStringLiteral(".gif");

// A picture: ".jpeg" appended, a name ending in ".jpg" or ".jpeg" kept.
QString PictureSaveName(const QString& chosen);

}  // namespace kavrin
