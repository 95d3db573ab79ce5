// The export window's part for the site map: the format and the placement
// that lays the grid on the site (origin, flow azimuth, reference system),
// with the north-up cell and the contour levels. Hidden for the Surfer grid
// and the text table.
#pragma once

#include "frame/AppState.h"
#include "model/SitePlacement.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace kavrin {

class SiteExportPanel : public QWidget {
    Q_OBJECT
public:
    enum class Format { GeoTiff, NorthUp, Contours, Levels, Wells, MapWorld };

    SiteExportPanel(AppState& app, QWidget* parent);

    QComboBox* SiteFormat;
    QLineEdit *SiteEasting, *SiteNorthing, *SiteAzimuth, *SiteCrs, *SiteCell, *SiteLevels;

    Format format() const;
    QString saveFilter() const;  // of the chosen format
    QString extension() const;   // appended to a name without one: ".tif", ".gpkg", ".bmp"

    void showPlacement(const SitePlacementTexts& texts);
    SitePlacementTexts placementTexts() const;

signals:
    void formatChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();

    AppState& app_;
    QLabel *formatLabel_, *eastingLabel_, *northingLabel_, *azimuthLabel_, *crsLabel_, *cellLabel_, *levelsLabel_;
};

}  // namespace kavrin
