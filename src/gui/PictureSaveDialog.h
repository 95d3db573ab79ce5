// The save dialog of a picture: the command's own filter first, which does
// what it always did, then PNG, SVG and PDF; the filter left chosen decides
// the format.
#pragma once

#include "gui/Dialogs.h"
#include "map/PictureFormat.h"

#include <QString>

#include <optional>

namespace kavrin {

struct PictureFilters {
    QString own;  // the command's own filter ("Arquivo de figuras (*.jpg)", "GIF (*.gif)")
    QString png, svg, pdf;
};

struct PictureSaveChoice {
    // As chosen for the command's own filter; for the others with the
    // format's extension, added when the name lacks it.
    QString path;
    std::optional<PictureFormat> format;  // nothing: the command's own filter
};

// The filters as the dialog lists them, the command's own first.
QString PictureFilterList(const PictureFilters& filters);

// Asks for the picture's name; nothing when the user cancelled. A dialog that
// cannot tell its filter stands for the command's own.
std::optional<PictureSaveChoice> AskPictureSave(Dialogs& dialogs, const PictureFilters& filters);

}  // namespace kavrin
