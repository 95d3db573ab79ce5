#include "gui/PictureSaveDialog.h"

#include "gui/SaveName.h"

namespace kavrin {

QString PictureFilterList(const PictureFilters& filters)
{
    return QStringList{filters.own, filters.png, filters.svg, filters.pdf}.join(QStringLiteral(";;"));
}

std::optional<PictureSaveChoice> AskPictureSave(Dialogs& dialogs, const PictureFilters& filters)
{
    const Dialogs::SaveChoice chosen = dialogs.saveFileChoosingFilter(PictureFilterList(filters), QString());
    if (chosen.path.isEmpty()) return std::nullopt;
    for (const auto& [filter, format] : {std::pair{filters.png, PictureFormat::Png}, std::pair{filters.svg, PictureFormat::Svg},
                                         std::pair{filters.pdf, PictureFormat::Pdf}})
        if (chosen.filter == filter)
            return PictureSaveChoice{WithExtension(chosen.path, QString::fromStdString(PictureExtension(format))), format};
    return PictureSaveChoice{chosen.path, std::nullopt};
}

}  // namespace kavrin
