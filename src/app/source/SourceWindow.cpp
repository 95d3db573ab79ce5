#include "source/SourceWindow.h"

#include "frame/TFormPrincipal.h"
#include "gui/ChildWindow.h"
#include "gui/NamedWidget.h"
#include "project/TFormDados.h"
#include "text/DecimalSeparator.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kavrin {

namespace {

// The data window's controls of the values the source texts are checked against.
constexpr int kFirstZoneEdits[] = {1, 2, 3, 6};  // C0, SourceWidth, SourceHeight, X1
// Zone 1's width, height and concentration: the data window's Edit2, Edit3, Edit1.
constexpr int kFirstZoneColumns[][2] = {{2, 2}, {3, 3}, {4, 1}};
constexpr int kMaximumZones = 20;

QTableWidget* table(QWidget* parent, const char* name, int columns)
{
    auto* grid = new QTableWidget(0, columns, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

// Wide enough for every heading in full, the row headings and a scroll bar.
void fitHeadings(QTableWidget* grid)
{
    int width =
        2 * grid->frameWidth() + grid->verticalHeader()->sizeHint().width() + grid->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < grid->columnCount(); ++column) width += grid->horizontalHeader()->sectionSizeHint(column);
    grid->setMinimumWidth(width);
}

QString cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget* table, int row, int column, const std::string& text)
{
    table->setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
}

}  // namespace

SourceWindow::SourceWindow(AppState& app, QWidget* owner) : QWidget(owner), app_(app)
{
    setObjectName("SourceWindow");

    auto* history = new QGroupBox(this);
    history->setObjectName("HistoryGroup");
    ConstantButton = NamedWidget<QRadioButton>(history, "ConstantButton", QString());
    DecayButton = NamedWidget<QRadioButton>(history, "DecayButton", QString());
    StopButton = NamedWidget<QRadioButton>(history, "StopButton", QString());
    StepsButton = NamedWidget<QRadioButton>(history, "StepsButton", QString());
    ConstantButton->setChecked(true);
    DecayKind = new QComboBox(history);
    DecayKind->setObjectName("DecayKind");
    DecayKind->addItems({QString(), QString()});
    DecayEdit = NamedWidget<QLineEdit>(history, "DecayEdit", QString());
    ReleaseEndEdit = NamedWidget<QLineEdit>(history, "ReleaseEndEdit", QString());
    for (QLineEdit* edit : {DecayEdit, ReleaseEndEdit}) edit->setFixedWidth(100);
    StepsTable = table(history, "StepsTable", 2);
    AddStepButton = NamedWidget<QPushButton>(history, "AddStepButton", QString());
    RemoveStepButton = NamedWidget<QPushButton>(history, "RemoveStepButton", QString());
    auto* historyGrid = new QGridLayout(history);
    historyGrid->addWidget(ConstantButton, 0, 0, 1, 3);
    historyGrid->addWidget(DecayButton, 1, 0);
    historyGrid->addWidget(DecayKind, 1, 1);
    historyGrid->addWidget(DecayEdit, 1, 2);
    historyGrid->addWidget(StopButton, 2, 0);
    historyGrid->addWidget(NamedWidget<QLabel>(history, "ReleaseEndLabel", QString()), 2, 1);
    historyGrid->addWidget(ReleaseEndEdit, 2, 2);
    historyGrid->addWidget(StepsButton, 3, 0, 1, 3);
    historyGrid->addWidget(StepsTable, 4, 0, 1, 3);
    auto* stepButtons = new QHBoxLayout;
    stepButtons->addWidget(AddStepButton);
    stepButtons->addWidget(RemoveStepButton);
    stepButtons->addStretch();
    historyGrid->addLayout(stepButtons, 5, 0, 1, 3);

    auto* zones = new QGroupBox(this);
    zones->setObjectName("ZonesGroup");
    ZonesTable = table(zones, "ZonesTable", 5);
    ZonesTable->setRowCount(1);
    setCell(ZonesTable, 0, 0, "0");
    setCell(ZonesTable, 0, 1, "0");
    AddZoneButton = NamedWidget<QPushButton>(zones, "AddZoneButton", QString());
    RemoveZoneButton = NamedWidget<QPushButton>(zones, "RemoveZoneButton", QString());
    auto* note = NamedWidget<QLabel>(zones, "FirstZoneNote", QString());
    note->setWordWrap(true);
    auto* zoneButtons = new QHBoxLayout;
    zoneButtons->addWidget(AddZoneButton);
    zoneButtons->addWidget(RemoveZoneButton);
    zoneButtons->addStretch();
    auto* zonesColumn = new QVBoxLayout(zones);
    zonesColumn->addWidget(ZonesTable, 1);
    zonesColumn->addLayout(zoneButtons);
    zonesColumn->addWidget(note);

    ControlPlaneEdit = NamedWidget<QLineEdit>(this, "ControlPlaneEdit", QString());
    ControlPlaneEdit->setFixedWidth(100);
    auto* plane = new QHBoxLayout;
    plane->addWidget(NamedWidget<QLabel>(this, "ControlPlaneLabel", QString()));
    plane->addWidget(ControlPlaneEdit);
    plane->addStretch();

    RefusalLabel = NamedWidget<QLabel>(this, "RefusalLabel", QString());
    RefusalLabel->setWordWrap(true);
    RefusalLabel->setStyleSheet("color: #b00000");
    // Room for a refusal of two lines, so that the window does not move as refusals come and go.
    RefusalLabel->setMinimumHeight(2 * RefusalLabel->fontMetrics().lineSpacing());
    RefusalLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* columns = new QHBoxLayout;
    columns->addWidget(history, 2);
    columns->addWidget(zones, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(plane);
    layout->addWidget(RefusalLabel);

    giveTexts();
    showFirstZone();
    enableHistoryValues();

    for (QRadioButton* button : {ConstantButton, DecayButton, StopButton, StepsButton})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (!on) return;
            enableHistoryValues();
            valuesEdited();
        });
    for (QLineEdit* edit : {DecayEdit, ReleaseEndEdit, ControlPlaneEdit})
        connect(edit, &QLineEdit::textChanged, this, &SourceWindow::valuesEdited);
    connect(DecayKind, &QComboBox::currentIndexChanged, this, &SourceWindow::valuesEdited);
    for (QTableWidget* grid : {StepsTable, ZonesTable})
        connect(grid, &QTableWidget::itemChanged, this, &SourceWindow::valuesEdited);
    connect(AddStepButton, &QPushButton::clicked, this, [this] { addRow(StepsTable); });
    connect(RemoveStepButton, &QPushButton::clicked, this, [this] { removeRow(StepsTable, 0); });
    connect(AddZoneButton, &QPushButton::clicked, this, [this] { addRow(ZonesTable); });
    connect(RemoveZoneButton, &QPushButton::clicked, this, [this] { removeRow(ZonesTable, 1); });
    // Zone 1 is the data window's source, and the checks use its X1.
    if (TFormDados* dados = app_.windows.dados)
        for (int edit : kFirstZoneEdits)
            connect(dados->Edit[static_cast<std::size_t>(edit)], &QLineEdit::textChanged, this, [this] {
                showFirstZone();
                valuesEdited();
            });
}

void ShowSourceWindow(AppState& app)
{
    SourceWindow* source = app.windows.source;
    TFormPrincipal* main = app.windows.principal;
    if (!source || !main) return;
    const bool first = !dynamic_cast<ChildWindow*>(source->parentWidget());
    if (first) {
        QMdiSubWindow* child = main->addChild(source, true);
        source->show();  // hidden while it waited outside the frame
        // At the top right, where the data window leaves the most room.
        child->resize(child->sizeHint());
        child->move(qMax(0, main->mdiArea()->viewport()->width() - child->width()), 0);
    }
    main->showWindow(source, true);
    // The focus moves in with it, or the frame gives the window that kept it the front again.
    if (first) source->ConstantButton->setFocus(Qt::OtherFocusReason);
}

void SourceWindow::giveTexts()
{
    using T = AddedText;
    const auto text = [this](AddedText line) { return app_.text(line); };
    setWindowTitle(text(T::SourceWindowCaption));
    findChild<QGroupBox*>("HistoryGroup")->setTitle(text(T::SourceHistoryGroup));
    ConstantButton->setText(text(T::SourceConstant));
    DecayButton->setText(text(T::SourceDecayChoice));
    StopButton->setText(text(T::SourceStopChoice));
    StepsButton->setText(text(T::SourceStepsChoice));
    DecayKind->setItemText(0, text(T::SourceDecayRate));
    DecayKind->setItemText(1, text(T::SourceHalfLife));
    findChild<QLabel*>("ReleaseEndLabel")->setText(text(T::SourceReleaseEnd));
    StepsTable->setHorizontalHeaderLabels({text(T::SourceStepStart), text(T::SourceStepRelative)});
    AddStepButton->setText(text(T::SourceAddRow));
    RemoveStepButton->setText(text(T::SourceRemoveRow));
    findChild<QGroupBox*>("ZonesGroup")->setTitle(text(T::SourceZonesGroup));
    ZonesTable->setHorizontalHeaderLabels({text(T::SourceZoneY), text(T::SourceZoneZ), text(T::SourceZoneWidth),
                                           text(T::SourceZoneHeight), text(T::SourceZoneConcentration)});
    AddZoneButton->setText(text(T::SourceAddRow));
    RemoveZoneButton->setText(text(T::SourceRemoveRow));
    findChild<QLabel*>("FirstZoneNote")->setText(text(T::SourceFirstZoneNote));
    findChild<QLabel*>("ControlPlaneLabel")->setText(text(T::SourceControlPlane));
    ControlPlaneEdit->setPlaceholderText(text(T::SourceControlPlaneNone));
    for (int row = 0; row < ZonesTable->rowCount(); ++row)
        ZonesTable->setVerticalHeaderItem(row, new QTableWidgetItem(text(T::SourceZoneName).arg(row + 1)));
    for (int row = 0; row < StepsTable->rowCount(); ++row)
        StepsTable->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(row + 1)));
    fitHeadings(StepsTable);
    fitHeadings(ZonesTable);
}

void SourceWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    giveTexts();
    // The refusal shown follows the language too.
    if (!RefusalLabel->text().isEmpty()) valuesEdited();
    // Longer texts may need more room than the window has.
    QWidget* frame = parentWidget() ? parentWidget() : this;
    if (frame->isVisible()) frame->resize(frame->size().expandedTo(frame->minimumSizeHint()));
}

void SourceWindow::showFirstZone()
{
    const bool wasShowing = showing_;
    showing_ = true;
    for (const auto& [column, edit] : kFirstZoneColumns) {
        auto* item = new QTableWidgetItem(QString::fromStdString(app_.texts.edit[static_cast<std::size_t>(edit)]));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        item->setBackground(palette().window());
        item->setToolTip(app_.text(AddedText::SourceFirstZoneNote));
        ZonesTable->setItem(0, column, item);
    }
    showing_ = wasShowing;
}

void SourceWindow::enableHistoryValues()
{
    DecayKind->setEnabled(DecayButton->isChecked());
    DecayEdit->setEnabled(DecayButton->isChecked());
    ReleaseEndEdit->setEnabled(StopButton->isChecked());
    for (QWidget* w :
         {static_cast<QWidget*>(StepsTable), static_cast<QWidget*>(AddStepButton), static_cast<QWidget*>(RemoveStepButton)})
        w->setEnabled(StepsButton->isChecked());
}

void SourceWindow::addRow(QTableWidget* grid)
{
    if (grid == ZonesTable && grid->rowCount() >= kMaximumZones) return;
    showing_ = true;
    const int row = grid->rowCount();
    grid->insertRow(row);
    for (int column = 0; column < grid->columnCount(); ++column) setCell(grid, row, column, {});
    showing_ = false;
    giveTexts();
    grid->setCurrentCell(row, 0);
    // Typing goes into the new row's first cell.
    grid->setFocus(Qt::OtherFocusReason);
    grid->editItem(grid->item(row, 0));
    valuesEdited();
}

void SourceWindow::removeRow(QTableWidget* grid, int keep)
{
    const int row = grid->currentRow() >= keep ? grid->currentRow() : grid->rowCount() - 1;
    if (row < keep) return;
    grid->removeRow(row);
    giveTexts();
    valuesEdited();
}

SourceFields SourceWindow::shownFields() const
{
    SourceFields fields;
    if (DecayButton->isChecked()) fields.history = SourceHistory::Decay;
    if (StopButton->isChecked()) fields.history = SourceHistory::Stop;
    if (StepsButton->isChecked()) fields.history = SourceHistory::Steps;
    fields.halfLife = DecayKind->currentIndex() == 1;
    fields.decay = DecayEdit->text().toStdString();
    fields.releaseEnd = ReleaseEndEdit->text().toStdString();
    for (int row = 0; row < StepsTable->rowCount(); ++row)
        fields.steps.push_back({cell(StepsTable, row, 0).toStdString(), cell(StepsTable, row, 1).toStdString()});
    fields.centreY = cell(ZonesTable, 0, 0).toStdString();
    fields.centreZ = cell(ZonesTable, 0, 1).toStdString();
    for (int row = 1; row < ZonesTable->rowCount(); ++row) {
        std::array<std::string, 5> zone;
        for (int column = 0; column < 5; ++column)
            zone[static_cast<std::size_t>(column)] = cell(ZonesTable, row, column).toStdString();
        fields.zones.push_back(zone);
    }
    fields.controlPlane = ControlPlaneEdit->text().toStdString();
    return fields;
}

void SourceWindow::showTexts(const SourceTexts& texts)
{
    const SourceFields fields = FieldsOfTexts(texts);
    showing_ = true;
    QRadioButton* const buttons[] = {ConstantButton, DecayButton, StopButton, StepsButton};
    buttons[static_cast<int>(fields.history)]->setChecked(true);
    DecayKind->setCurrentIndex(fields.halfLife ? 1 : 0);
    DecayEdit->setText(QString::fromStdString(fields.decay));
    ReleaseEndEdit->setText(QString::fromStdString(fields.releaseEnd));
    StepsTable->setRowCount(static_cast<int>(fields.steps.size()));
    for (std::size_t row = 0; row < fields.steps.size(); ++row)
        for (int column = 0; column < 2; ++column)
            setCell(StepsTable, static_cast<int>(row), column, fields.steps[row][static_cast<std::size_t>(column)]);
    ZonesTable->setRowCount(1 + static_cast<int>(fields.zones.size()));
    setCell(ZonesTable, 0, 0, fields.centreY);
    setCell(ZonesTable, 0, 1, fields.centreZ);
    for (std::size_t zone = 0; zone < fields.zones.size(); ++zone)
        for (int column = 0; column < 5; ++column)
            setCell(ZonesTable, static_cast<int>(zone) + 1, column, fields.zones[zone][static_cast<std::size_t>(column)]);
    ControlPlaneEdit->setText(QString::fromStdString(fields.controlPlane));
    showFirstZone();
    showing_ = false;
    enableHistoryValues();
    giveTexts();
    RefusalLabel->clear();
}

void SourceWindow::valuesEdited()
{
    if (showing_) return;
    takeShownTexts();
}

std::optional<SourceRefusal> SourceWindow::takeShownTexts()
{
    ComposedSourceTexts shown = TextsOfFields(shownFields(), app_.separator);
    std::optional<SourceRefusal> refusal = shown.refusal;
    if (!refusal) {
        ParameterTexts texts = app_.texts;
        texts.source = shown.texts;
        refusal = CheckSourceTexts(texts, app_.separator);
    }
    if (refusal) {
        RefusalLabel->setText(refusalText(*refusal));
        return refusal;
    }
    RefusalLabel->clear();
    if (app_.texts.source == shown.texts) return std::nullopt;
    app_.texts.source = std::move(shown.texts);
    if (app_.windows.dados) emit app_.windows.dados->sourceTextsChanged();
    return std::nullopt;
}

QString SourceWindow::valueCaption(const SourceRefusal& refusal) const
{
    using T = AddedText;
    const std::string& name = refusal.name;
    if (name == "SourceHistory") return app_.text(T::SourceHistoryGroup);
    if (name == "SourceDecay") return app_.text(T::SourceDecayRate);
    if (name == "SourceHalfLife") return app_.text(T::SourceHalfLife);
    if (name == "ReleaseEnd") return app_.text(T::SourceReleaseEnd);
    if (name == "SourceSteps")
        return refusal.group > 0 ? app_.text(T::SourceStepName).arg(refusal.group) : app_.text(T::SourceStepsChoice);
    if (name == "SourceCentre") return app_.text(T::SourceZoneName).arg(1);
    if (name == "SourceZones")
        return refusal.group > 0 ? app_.text(T::SourceZoneName).arg(refusal.group) : app_.text(T::SourceZonesGroup);
    if (name == "ControlPlaneX") {
        QString caption = app_.text(T::SourceControlPlane);
        while (caption.endsWith(':') || caption.endsWith(' ')) caption.chop(1);
        return caption;
    }
    return QString::fromStdString(name);
}

QString SourceWindow::refusalText(const SourceRefusal& refusal, const ParameterTexts* texts) const
{
    using T = AddedText;
    static const AddedText kLines[] = {T::SourceUnknownName,  T::SourceUnknownHistory,     T::SourceNotANumber,
                                       T::SourceNotPositive,  T::SourceStepsNotIncreasing, T::SourceZoneSize,
                                       T::SourceTooManyZones, T::SourceZonesOverlap,       T::SourceControlPlaneOutside,
                                       T::SourceMissingValue};
    const QString text = app_.text(kLines[static_cast<int>(refusal.rule)]).arg(valueCaption(refusal));
    if (refusal.rule != SourceRule::ControlPlaneOutside) return text;
    return text.arg(QString::fromStdString(ArrumaDecimal((texts ? *texts : app_.texts).edit[6], app_.separator)));
}

void SourceWindow::focusValue(const SourceRefusal& refusal)
{
    const std::string& name = refusal.name;
    if (name == "SourceHistory") {
        ConstantButton->setFocus(Qt::OtherFocusReason);
    } else if (name == "SourceDecay" || name == "SourceHalfLife") {
        DecayEdit->setFocus(Qt::OtherFocusReason);
    } else if (name == "ReleaseEnd") {
        ReleaseEndEdit->setFocus(Qt::OtherFocusReason);
    } else if (name == "ControlPlaneX") {
        ControlPlaneEdit->setFocus(Qt::OtherFocusReason);
    } else if (name == "SourceSteps" || name == "SourceCentre" || name == "SourceZones") {
        QTableWidget* grid = name == "SourceSteps" ? StepsTable : ZonesTable;
        // Steps count from 1 and zones from zone 1, the table's first row.
        const int row = name == "SourceCentre" ? 0 : refusal.group - 1;
        if (row >= 0 && row < grid->rowCount()) grid->setCurrentCell(row, 0);
        grid->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace kavrin
