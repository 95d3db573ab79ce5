#include "views/TFormMapa.h"
#include "gui/NamedWidget.h"
#include "views/PlumeMetricsLine.h"

#include "frame/TFormPrincipal.h"
#include "gui/CommandRunner.h"
#include "gui/MapPainter.h"
#include "gui/PictureExport.h"
#include "gui/Settings.h"
#include "map/AnimationFrames.h"
#include "map/MapPicture.h"
#include "map/MapReadout.h"
#include "observations/TObservacao.h"
#include "text/Errors.h"
#include "views/MapOptionsPanel.h"
#include "workspace/CompleteTime.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>

namespace kavrin {

namespace {

QLabel* readout(QWidget* parent, const char* name, const char* text, bool bold)
{
    auto* label = NamedWidget<QLabel>(parent, name, QString::fromUtf8(text));
    QFont font("Arial", 9);
    font.setBold(bold);
    label->setFont(font);
    label->setMinimumWidth(bold ? 0 : 90);
    return label;
}

}  // namespace

TFormMapa::TFormMapa(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs)
{
    setObjectName("TFormMapa");
    setWindowTitle("Mapa");
    GroupBox2 = new QGroupBox("Tempo", this);
    GroupBox2->setObjectName("GroupBox2");
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setMinimumWidth(140);
    (new QVBoxLayout(GroupBox2))->addWidget(ComboBox1);
    BitBtn1 = new QPushButton("Atualizar", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setEnabled(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunCommand(dialogs_, [this] { BitBtn1Click(); }); });

    Label4 = readout(this, "Label4", "0", false);
    Label5 = readout(this, "Label5", "0", false);
    Label6 = readout(this, "Label6", "0", false);
    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox2);
    top->addWidget(BitBtn1, 0, Qt::AlignBottom);
    top->addSpacing(30);
    top->addWidget(readout(this, "Label1", "X (m):", true), 0, Qt::AlignBottom);
    top->addWidget(Label4, 0, Qt::AlignBottom);
    top->addWidget(readout(this, "Label2", "Y (m):", true), 0, Qt::AlignBottom);
    top->addWidget(Label5, 0, Qt::AlignBottom);
    top->addWidget(readout(this, "Label3", "C (mg/L):", true), 0, Qt::AlignBottom);
    top->addWidget(Label6, 0, Qt::AlignBottom);
    top->addStretch();
    OptionsButton = NamedWidget<QPushButton>(this, "MapOptionsButton", app_.text(AddedText::MapOptionsButton));
    OptionsButton->setToolTip(app_.text(AddedText::MapOptionsButtonTip));
    OptionsButton->setCheckable(true);
    top->addWidget(OptionsButton, 0, Qt::AlignBottom);
    Options = new MapOptionsPanel(app_, dialogs_, this);
    Options->hide();
    connect(OptionsButton, &QPushButton::toggled, Options, &QWidget::setVisible);
    connect(Options, &MapOptionsPanel::mapChanged, this, &TFormMapa::redrawWithStoredOptions);

    Mapa = new QLabel(this);
    Mapa->setObjectName("Mapa");
    Mapa->setFixedSize(950, 640);
    Mapa->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Mapa->setMouseTracking(true);
    Mapa->installEventFilter(this);
    // The picture keeps its pixels (the readout reads them); a window smaller
    // than the picture scrolls it.
    auto* area = new QScrollArea(this);
    area->setObjectName("MapaArea");
    area->setFrameShape(QFrame::NoFrame);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidget(Mapa);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Options);
    layout->addWidget(area, 1);
    MetricsLine = new PlumeMetricsLine(app_, this);
    layout->addWidget(MetricsLine);
}

void TFormMapa::FormActivate()
{
    Options->showStored();
    if (app_.project.ResultsExist) {
        BitBtn1->setEnabled(true);
        CompletaComboBox();
        return;
    }
    BitBtn1->setEnabled(false);
    GroupBox2->setEnabled(false);
    ComboBox1->setEnabled(false);
    dialogs_.notice(app_.messages.MsgMapNeedsResults);
}

void TFormMapa::CompletaComboBox()
{
    ComboBox1->clear();
    ComboBox1->setEditText(QString());
    GroupBox2->setEnabled(true);
    ComboBox1->setEnabled(true);
    const ModelState& m = app_.model;
    // A time step that never reaches T1 (edited after the run) lists T0 alone.
    const std::vector<double> times = ListedRunTimes(m, app_.project.ProjectIndexPath).value_or(std::vector<double>{m.T0});
    for (double t : times) ComboBox1->addItem(QString::fromStdString(TimeText(t, app_.separator)));
    ComboBox1->setEditText(QString::fromStdString(TimeText(m.T0, app_.separator)));
}

bool TFormMapa::TimeIsComplete(const QString& tempo) const
{
    const ProjectState& p = app_.project;
    return IsListedCompleteTime(app_.model, p.Root, p.ProjectName, p.ProjectIndexPath, tempo.toStdString(), app_.separator);
}

void TFormMapa::BitBtn1Click()
{
    const QString chosen = ComboBox1->currentText();
    // A time without its whole grid would draw the grid's earlier content
    // under this time's title: the map keeps its picture and its title.
    if (!TimeIsComplete(chosen)) {
        dialogs_.notice(app_.text(AddedText::TimeWithoutCompleteResults).arg(chosen));
        return;
    }
    MapTimeText = chosen;
    app_.windows.principal->files().CompletaArray(MapTimeText);
    DesenhaMapa();
}

bool TFormMapa::DesenhaMapa()
{
    MapPicture map;
    try {
        const MapTextLanguages texts = MapTextLanguagesFor(app_.AppliedLanguage());
        const MapOptions options = StoredMapOptions();
        std::vector<MapWell> wells;
        if (options.showWells && app_.windows.observacao) wells = app_.windows.observacao->mapWells();
        map = kavrin::DesenhaMapa({app_.model, app_.grid, MapTimeText.toStdString(), texts.titleInPortuguese,
                                   texts.captionInPortuguese, app_.separator, options, std::move(wells),
                                   MapOptionTextsFrom([this](AddedText line) { return app_.text(line).toStdString(); })});
    } catch (const MapGridTooLarge& tooLarge) {
        dialogs_.notice(tooLarge.axis() == 'X' ? app_.messages.MsgGridTooLargeX : app_.messages.MsgGridTooLargeY);
        return false;
    } catch (...) {
        // The drawing starts on a white picture: no earlier map stays under
        // the failure's message.
        showPicture(WhiteMapPicture());
        throw;
    }
    showPicture(PaintMapPicture(map));
    geometry_ = std::move(map.geometry);
    MapDrawn = true;
    MetricsLine->ShowTime(MapTimeText);
    // A minimised window (frames made for the animation) keeps its icon's
    // size, a maximised one its frame's; the window never grows beyond the
    // frame's visible area, where its picture scrolls.
    if (QWidget* frame = parentWidget(); frame && !frame->isMinimized() && !frame->isMaximized()) {
        QSize size(kMapWidth + 36, kMapHeight + 122 + MetricsLine->AddedHeight());
        if (Options->isVisible()) size.rheight() += Options->sizeHint().height() + layout()->spacing();
        QWidget* area = frame->parentWidget();
        if (area) size = size.boundedTo(area->size());
        frame->resize(size);
        // Grown past the frame's right or bottom edge, it moves back inside.
        if (area) {
            const QPoint inside(std::min(frame->x(), area->width() - size.width()),
                                std::min(frame->y(), area->height() - size.height()));
            frame->move(std::max(inside.x(), 0), std::max(inside.y(), 0));
        }
    }
    return true;
}

void TFormMapa::showPicture(QImage picture)
{
    picture_ = std::move(picture);
    Mapa->setFixedSize(kMapWidth, kMapHeight);
    Mapa->setPixmap(QPixmap::fromImage(picture_));
}

QStringList TFormMapa::CarregaAnimacao(const std::function<bool(int, int)>& progress)
{
    struct Restore {
        TFormMapa* map;
        ~Restore()
        {
            map->Mapa->show();
            map->ClearMapa();
            QGuiApplication::restoreOverrideCursor();
        }
    };
    Mapa->hide();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Restore restore{this};

    QStringList frames;
    const ModelState& m = app_.model;
    const std::optional<std::vector<double>> times = ListedRunTimes(m, app_.project.ProjectIndexPath);
    if (!times) return frames;
    const int total = static_cast<int>(times->size());
    const QString folder =
        QString::fromStdString(ProjectFolderPath(app_.project.Root, app_.project.ProjectName)) + kFrameFolderName + "/";
    QStringList refused;  // times without their whole grid make no frame
    const struct Report {
        const QStringList& refused;
        TFormMapa* map;
        ~Report()
        {
            if (!refused.isEmpty())
                map->dialogs_.notice(map->app_.text(AddedText::TimeWithoutCompleteResults).arg(refused.join(", ")));
        }
    } report{refused, this};
    int done = 0;
    for (double t : *times) {
        const QString tempo = QString::fromStdString(TimeText(t, app_.separator));
        // Asked after the events of the previous frame: a quit taken there
        // may already have deleted the results.
        if (!progress(++done, total)) {
            refused.clear();
            return {};
        }
        if (!TimeIsComplete(tempo)) {
            refused << tempo;
            continue;
        }
        MapTimeText = tempo;
        app_.windows.principal->files().CompletaArray(MapTimeText);
        if (!DesenhaMapa()) return frames;
        MakeFrameFolder(folder.toStdString());
        const QString path = folder + QString::fromStdString(FrameFileName(t));
        WriteBitmap(picture_, path);
        frames << path;
        QCoreApplication::processEvents();
    }
    return frames;
}

void TFormMapa::MostraValor(int X, int Y)
{
    if (!MapDrawn) return;
    const std::optional<MapReadout> value = kavrin::MostraValor(X, Y, geometry_, app_.model, app_.grid, app_.separator);
    if (!value) return;
    Label4->setText(QString::fromStdString(value->x));
    Label5->setText(QString::fromStdString(value->y));
    Label6->setText(QString::fromStdString(value->concentration));
}

void TFormMapa::redrawWithStoredOptions()
{
    // The grid may hold another window's time by now: the shown time is read again.
    if (!hasPicture() || !TimeIsComplete(MapTimeText)) return;
    RunCommand(dialogs_, [this] {
        app_.windows.principal->files().CompletaArray(MapTimeText);
        DesenhaMapa();
    });
}

void TFormMapa::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        OptionsButton->setText(app_.text(AddedText::MapOptionsButton));
        OptionsButton->setToolTip(app_.text(AddedText::MapOptionsButtonTip));
    }
    QWidget::changeEvent(event);
}

void TFormMapa::ClearMapa()
{
    picture_ = QImage();
    Mapa->clear();
    MetricsLine->Clear();
}

bool TFormMapa::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Mapa && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        MostraValor(at.x(), at.y());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kavrin
