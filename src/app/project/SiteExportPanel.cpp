#include "project/SiteExportPanel.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace kavrin {

namespace {

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

SiteExportPanel::SiteExportPanel(AppState& app, QWidget* parent)
    : QWidget(parent), SiteFormat(new QComboBox(this)), SiteEasting(field(this, "SiteEasting")),
      SiteNorthing(field(this, "SiteNorthing")), SiteAzimuth(field(this, "SiteAzimuth")), SiteCrs(field(this, "SiteCrs")),
      SiteCell(field(this, "SiteCell")), SiteLevels(field(this, "SiteLevels")), app_(app)
{
    setObjectName("SiteExportPanel");
    SiteFormat->setObjectName("SiteFormat");
    for (int i = 0; i < 6; ++i) SiteFormat->addItem(QString());
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    const auto row = [&](QLabel*& label, QWidget* widget) {
        label = new QLabel(this);
        label->setBuddy(widget);
        form->addRow(label, widget);
    };
    row(formatLabel_, SiteFormat);
    row(eastingLabel_, SiteEasting);
    row(northingLabel_, SiteNorthing);
    row(azimuthLabel_, SiteAzimuth);
    row(crsLabel_, SiteCrs);
    row(cellLabel_, SiteCell);
    row(levelsLabel_, SiteLevels);
    const auto showFormatFields = [this] {
        SiteCell->setEnabled(format() == Format::NorthUp);
        SiteLevels->setEnabled(format() == Format::Contours || format() == Format::Levels);
        emit formatChanged();
    };
    connect(SiteFormat, &QComboBox::currentIndexChanged, this, showFormatFields);
    showFormatFields();
    setTexts();
}

SiteExportPanel::Format SiteExportPanel::format() const
{
    return static_cast<Format>(SiteFormat->currentIndex());
}

QString SiteExportPanel::saveFilter() const
{
    switch (format()) {
    case Format::GeoTiff:
    case Format::NorthUp:
        return QStringLiteral("GeoTIFF (*.tif)");
    case Format::MapWorld:
        return QStringLiteral("Bitmap (*.bmp)");
    default:
        return QStringLiteral("GeoPackage (*.gpkg);;GeoJSON (*.geojson)");
    }
}

QString SiteExportPanel::extension() const
{
    const QString filter = saveFilter();
    return filter.mid(filter.indexOf("(*") + 2, filter.indexOf(')') - filter.indexOf("(*") - 2);
}

void SiteExportPanel::showPlacement(const SitePlacementTexts& texts)
{
    SiteEasting->setText(QString::fromStdString(texts.easting));
    SiteNorthing->setText(QString::fromStdString(texts.northing));
    SiteAzimuth->setText(QString::fromStdString(texts.azimuth));
    SiteCrs->setText(QString::fromStdString(texts.crs));
}

SitePlacementTexts SiteExportPanel::placementTexts() const
{
    const auto text = [](const QLineEdit* edit) { return edit->text().trimmed().toStdString(); };
    return {text(SiteEasting), text(SiteNorthing), text(SiteAzimuth), text(SiteCrs)};
}

void SiteExportPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) setTexts();
}

void SiteExportPanel::setTexts()
{
    using T = AddedText;
    formatLabel_->setText(app_.text(T::SiteExportFormat));
    const T formats[] = {T::SiteFormatGeoTiff, T::SiteFormatNorthUp, T::SiteFormatContours,
                         T::SiteFormatLevels,  T::SiteFormatWells,   T::SiteFormatMapWorld};
    for (int i = 0; i < 6; ++i) SiteFormat->setItemText(i, app_.text(formats[i]));
    eastingLabel_->setText(app_.text(T::SiteEasting));
    northingLabel_->setText(app_.text(T::SiteNorthing));
    azimuthLabel_->setText(app_.text(T::SiteAzimuth));
    crsLabel_->setText(app_.text(T::SiteCrs));
    cellLabel_->setText(app_.text(T::SiteNorthUpCell));
    levelsLabel_->setText(app_.text(T::SiteLevels));
}

}  // namespace kavrin
