#include "views/MapOptionsPanel.h"

#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "gui/Settings.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cmath>

namespace kavrin {

namespace {

QSpinBox* spinBox(QWidget* parent, const char* name, int low, int high)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    // One change when the typing ends, not one per digit.
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

MapOptionsPanel::MapOptionsPanel(AppState& app, Dialogs& dialogs, QWidget* parent) : QFrame(parent), app_(app), dialogs_(dialogs)
{
    setObjectName("MapOptionsPanel");
    LogScale = NamedWidget<QCheckBox>(this, "MapLogScale", QString());
    Decades = spinBox(this, "MapDecades", 1, 12);
    standardLabel_ = NamedWidget<QLabel>(this, "MapStandardLabel", QString());
    Standard = NamedWidget<QLineEdit>(this, "MapStandard", QString());
    Standard->setFixedWidth(70);
    Wells = NamedWidget<QCheckBox>(this, "MapWells", QString());
    Axes = NamedWidget<QCheckBox>(this, "MapAxes", QString());
    sizeLabel_ = NamedWidget<QLabel>(this, "MapPictureSizeLabel", QString());
    PictureWidth = spinBox(this, "MapPictureWidth", 16, 8000);
    PictureHeight = spinBox(this, "MapPictureHeight", 16, 8000);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(LogScale);
    row->addWidget(Decades);
    row->addSpacing(10);
    row->addWidget(standardLabel_);
    row->addWidget(Standard);
    row->addSpacing(10);
    row->addWidget(Wells);
    row->addWidget(Axes);
    row->addSpacing(10);
    row->addWidget(sizeLabel_);
    row->addWidget(PictureWidth);
    row->addWidget(NamedWidget<QLabel>(this, "MapPictureTimes", QString::fromUtf8("×")));
    row->addWidget(PictureHeight);
    row->addStretch();

    showTexts();
    showStored();
    connect(LogScale, &QCheckBox::toggled, this, [this](bool on) {
        Decades->setEnabled(on);
        store([on](MapOptions& o) { o.logarithmicScale = on; });
    });
    connect(Decades, &QSpinBox::valueChanged, this, [this](int n) { store([n](MapOptions& o) { o.decades = n; }); });
    connect(Standard, &QLineEdit::editingFinished, this, &MapOptionsPanel::standardEdited);
    connect(Wells, &QCheckBox::toggled, this, [this](bool on) { store([on](MapOptions& o) { o.showWells = on; }); });
    connect(Axes, &QCheckBox::toggled, this, [this](bool on) { store([on](MapOptions& o) { o.axisTitles = on; }); });
    connect(PictureWidth, &QSpinBox::valueChanged, this, [this](int w) { store([w](MapOptions& o) { o.width = w; }); });
    connect(PictureHeight, &QSpinBox::valueChanged, this, [this](int h) { store([h](MapOptions& o) { o.height = h; }); });
}

void MapOptionsPanel::showTexts()
{
    LogScale->setText(app_.text(AddedText::MapLogScale));
    Decades->setSuffix(app_.text(AddedText::MapDecadesSuffix));
    standardLabel_->setText(app_.text(AddedText::MapStandardLabel));
    Wells->setText(app_.text(AddedText::MapWellsOption));
    Axes->setText(app_.text(AddedText::MapAxesOption));
    sizeLabel_->setText(app_.text(AddedText::MapPictureSize));
    for (QWidget* size :
         {static_cast<QWidget*>(sizeLabel_), static_cast<QWidget*>(PictureWidth), static_cast<QWidget*>(PictureHeight)})
        size->setToolTip(app_.text(AddedText::MapPictureSizeTip));
}

void MapOptionsPanel::showStored()
{
    showing_ = true;
    MapOptions o;
    RunCommand(dialogs_, [&] { o = StoredMapOptions(); });
    LogScale->setChecked(o.logarithmicScale);
    Decades->setValue(o.decades);
    Decades->setEnabled(o.logarithmicScale);
    Standard->setText(o.standard ? QString::fromStdString(FormatGeneral(*o.standard, app_.separator)) : QString());
    Wells->setChecked(o.showWells);
    Axes->setChecked(o.axisTitles);
    PictureWidth->setValue(o.width);
    PictureHeight->setValue(o.height);
    showing_ = false;
}

void MapOptionsPanel::store(const std::function<void(MapOptions&)>& change)
{
    if (showing_) return;
    RunCommand(dialogs_, [&] {
        const MapOptions before = StoredMapOptions();
        MapOptions after = before;
        change(after);
        if (after == before) return;
        StoreMapOptions(after);
        MapOptions sizeOnly = before;
        sizeOnly.width = after.width, sizeOnly.height = after.height;
        if (after != sizeOnly) emit mapChanged();
    });
}

void MapOptionsPanel::standardEdited()
{
    if (showing_) return;
    const QString typed = Standard->text().trimmed();
    std::optional<double> standard;
    if (!typed.isEmpty()) {
        try {
            const double value = ParseFloat(ArrumaDecimal(typed.toStdString(), app_.separator), app_.separator);
            if (std::isfinite(value) && value > 0) standard = value;
        } catch (const KavrinError&) {
        }
        if (!standard) {
            // The message takes the focus away: the field shows the stored value first.
            showStored();
            dialogs_.notice(app_.text(AddedText::MapStandardRefused).arg(typed));
            return;
        }
    }
    store([standard](MapOptions& o) { o.standard = standard; });
}

void MapOptionsPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) showTexts();
    QFrame::changeEvent(event);
}

}  // namespace kavrin
