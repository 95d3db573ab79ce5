// Draws the program's pictures into data/pictures: the splash (JPEG), the
// application icon, the 14 toolbar pictures (30 × 30) and the player buttons.
// Run from the repository root: build/bin/kavrin-make-pictures data/pictures
// With --icon-theme FOLDER it writes the desktop's icons instead: the program
// and its project files, as PNG in the usual sizes and as SVG, in the hicolor
// layout (the build does this for installing).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <cmath>
#include <functional>

namespace {

const QColor kInk(32, 48, 72);

// The plume: nested ellipses from blue at the rim to red at the source.
void drawPlume(QPainter& p, QRectF area)
{
    const QColor colours[] = {QColor(40, 90, 230),  QColor(40, 190, 230), QColor(60, 200, 90),
                              QColor(240, 220, 40), QColor(245, 140, 30), QColor(220, 40, 30)};
    for (int level = 0; level < 6; ++level) {
        const double shrink = level / 6.0;
        QRectF r(area.left(), area.top() + area.height() * shrink / 2, area.width() * (1 - shrink * 0.85),
                 area.height() * (1 - shrink));
        p.setPen(Qt::NoPen);
        p.setBrush(colours[level]);
        p.drawEllipse(r);
    }
}

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage& image, const QString& path)
{
    if (!image.save(path)) qFatal("cannot write %s", qPrintable(path));
}

void page(QPainter& p, QRectF r, double fold = 6, double line = 1.4)
{
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(kInk, line));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
}

void arrow(QPainter& p, QPointF from, QPointF to, QColor colour)
{
    p.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({to + d * 3, to - d * 5 + n * 4.5, to - d * 5 - n * 4.5}));
}

using Painter = std::function<void(QPainter&)>;

const Painter kToolbar[14] = {
    [](QPainter& p) {  // 0 run
        p.setBrush(QColor(40, 160, 70));
        p.setPen(QPen(QColor(20, 100, 40), 1.5));
        p.drawEllipse(QRectF(2, 2, 26, 26));
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(11, 8), QPointF(22, 15), QPointF(11, 22)}));
    },
    [](QPainter& p) {  // 1 open
        p.setPen(QPen(QColor(150, 100, 10), 1.4));
        p.setBrush(QColor(235, 190, 70));
        p.drawPolygon(
            QPolygonF({QPointF(2, 7), QPointF(11, 7), QPointF(13, 10), QPointF(26, 10), QPointF(26, 25), QPointF(2, 25)}));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF({QPointF(6, 14), QPointF(29, 14), QPointF(26, 25), QPointF(2, 25)}));
    },
    [](QPainter& p) {  // 2 save
        p.setPen(QPen(QColor(20, 50, 110), 1.4));
        p.setBrush(QColor(50, 100, 190));
        p.drawRoundedRect(QRectF(3, 3, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3.5, 16, 9));
        p.setBrush(QColor(200, 210, 225));
        p.drawRect(QRectF(8, 17, 14, 9));
    },
    [](QPainter& p) {  // 3 data
        page(p, QRectF(4, 2, 22, 26));
        p.setPen(QPen(QColor(60, 110, 170), 1.6));
        for (int row = 0; row < 5; ++row) {
            p.drawLine(QPointF(8, 8 + row * 4), QPointF(14, 8 + row * 4));
            p.drawLine(QPointF(17, 8 + row * 4), QPointF(22, 8 + row * 4));
        }
    },
    [](QPainter& p) {  // 4 settings
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 120, 135));
        for (int tooth = 0; tooth < 8; ++tooth) {
            p.save();
            p.translate(15, 15);
            p.rotate(tooth * 45);
            p.drawRect(QRectF(-2.5, -13, 5, 6));
            p.restore();
        }
        p.drawEllipse(QPointF(15, 15), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(15, 15), 3.5, 3.5);
    },
    [](QPainter& p) {  // 5 help
        p.setBrush(QColor(50, 110, 200));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(2, 2, 26, 26));
        p.setPen(Qt::white);
        QFont f("DejaVu Sans", 15, QFont::Bold);
        p.setFont(f);
        p.drawText(QRectF(2, 2, 26, 26), Qt::AlignCenter, "?");
    },
    [](QPainter& p) {  // 6 charts
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(4, 3), QPointF(4, 26));
        p.drawLine(QPointF(4, 26), QPointF(28, 26));
        QPainterPath curve;
        curve.moveTo(5, 24);
        curve.cubicTo(10, 24, 11, 5, 16, 6);
        curve.cubicTo(20, 7, 22, 21, 28, 22);
        p.setPen(QPen(QColor(210, 40, 40), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
    },
    [](QPainter& p) {  // 7 map
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(40, 60, 200));
        p.drawRect(QRectF(2, 4, 26, 22));
        drawPlume(p, QRectF(3, 7, 24, 16));
    },
    [](QPainter& p) {  // 8 export grid
        p.setPen(QPen(QColor(60, 110, 170), 1.1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 2, 18, 18));
        for (int k = 1; k < 4; ++k) {
            p.drawLine(QPointF(2 + k * 4.5, 2), QPointF(2 + k * 4.5, 20));
            p.drawLine(QPointF(2, 2 + k * 4.5), QPointF(20, 2 + k * 4.5));
        }
        arrow(p, QPointF(13, 22), QPointF(25, 22), QColor(30, 140, 60));
        arrow(p, QPointF(25, 12), QPointF(25, 24), QColor(30, 140, 60));
    },
    [](QPainter& p) {  // 9 picture
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(QColor(200, 230, 250));
        p.drawRect(QRectF(3, 5, 24, 20));
        p.setBrush(QColor(70, 150, 70));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(4, 24), QPointF(12, 13), QPointF(18, 20), QPointF(21, 16), QPointF(26, 24)}));
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QPointF(21, 10), 2.5, 2.5);
    },
    [](QPainter& p) {  // 10 export text
        page(p, QRectF(3, 2, 17, 22));
        p.setPen(QPen(QColor(90, 90, 90), 1.3));
        for (int row = 0; row < 4; ++row) p.drawLine(QPointF(6, 8 + row * 4), QPointF(16, 8 + row * 4));
        arrow(p, QPointF(14, 24), QPointF(26, 24), QColor(30, 140, 60));
        arrow(p, QPointF(26, 13), QPointF(26, 25), QColor(30, 140, 60));
    },
    [](QPainter& p) {  // 11 new
        page(p, QRectF(5, 2, 20, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 190, 30));
        QPolygonF star;
        for (int k = 0; k < 10; ++k) {
            const double r = k % 2 ? 3.2 : 7.5, a = -M_PI / 2 + k * M_PI / 5;
            star << QPointF(21 + r * std::cos(a), 21 + r * std::sin(a));
        }
        p.drawPolygon(star);
    },
    [](QPainter& p) {  // 12 calibration
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(4, 3), QPointF(4, 26));
        p.drawLine(QPointF(4, 26), QPointF(28, 26));
        p.setPen(QPen(QColor(210, 40, 40), 1.8));
        p.drawLine(QPointF(5, 25), QPointF(27, 4));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 70, 210));
        for (QPointF point : {QPointF(9, 18), QPointF(13, 17), QPointF(16, 11), QPointF(21, 11), QPointF(24, 6)})
            p.drawRect(QRectF(point - QPointF(2, 2), QSizeF(4, 4)));
    },
    [](QPainter& p) {  // 13 animation
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(45, 45, 55));
        p.drawRect(QRectF(2, 4, 26, 22));
        p.setBrush(Qt::white);
        for (int k = 0; k < 6; ++k) {
            p.drawRect(QRectF(4 + k * 4.2, 5.5, 2.2, 2.2));
            p.drawRect(QRectF(4 + k * 4.2, 22.3, 2.2, 2.2));
        }
        p.setBrush(QColor(40, 60, 200));
        p.drawRect(QRectF(4, 9, 22, 12));
        drawPlume(p, QRectF(5, 10, 15, 10));
    },
};

void drawSplash(const QString& path)
{
    QImage image(369, 278, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 278);
    sky.setColorAt(0, QColor(16, 40, 84));
    sky.setColorAt(0.45, QColor(24, 78, 120));
    sky.setColorAt(1, QColor(12, 30, 60));
    p.fillRect(image.rect(), sky);
    // The aquifer: sand layers with the plume drifting along the flow.
    const QColor layers[] = {QColor(120, 96, 62), QColor(168, 138, 88), QColor(140, 114, 72)};
    for (int k = 0; k < 3; ++k) p.fillRect(QRectF(0, 78 + k * 40, 369, 40), layers[k]);
    p.fillRect(QRectF(0, 198, 369, 14), QColor(90, 70, 48));
    p.fillRect(QRectF(22, 112, 10, 52), QColor(230, 40, 30));
    drawPlume(p, QRectF(26, 104, 280, 68));
    p.setOpacity(0.75);
    for (int k = 0; k < 3; ++k) arrow(p, QPointF(250 + k * 20, 92 + k * 38), QPointF(300 + k * 20, 92 + k * 38), Qt::white);
    p.setOpacity(1);
    p.end();
    if (!image.save(path, "JPEG", 92)) qFatal("cannot write %s", qPrintable(path));
}

void drawPlayer(const QString& folder)
{
    const std::pair<const char*, Painter> buttons[] = {
        {"play",
         [](QPainter& p) {
             p.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
         }},
        {"pause",
         [](QPainter& p) {
             p.drawRect(QRectF(8, 7, 6, 18));
             p.drawRect(QRectF(18, 7, 6, 18));
         }},
        {"stop", [](QPainter& p) { p.drawRect(QRectF(8, 8, 16, 16)); }},
    };
    for (const auto& [name, paint] : buttons) {
        QImage image = canvas(32, 32);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        paint(p);
        p.end();
        save(image, folder + "/player-" + name + ".png");
    }
}

// The icons are drawn on a 64 × 64 grid and scaled to each size.
constexpr double kIconGrid = 64;

// The program: the plume on a blue tile.
void drawProgramIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 70, 150));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    drawPlume(p, QRectF(8, 16, 50, 32));
}

// A project file: the plume on a sheet with a folded corner.
void drawProjectIcon(QPainter& p)
{
    page(p, QRectF(10, 3, 44, 58), 13, 2.2);
    p.setBrush(QColor(200, 210, 225));
    p.drawPolygon(QPolygonF({QPointF(41, 3), QPointF(41, 16), QPointF(54, 16)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 70, 150));
    p.drawRect(QRectF(15, 22, 34, 32));
    drawPlume(p, QRectF(17, 28, 30, 20));
}

QImage icon(void (*draw)(QPainter&), int size)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kIconGrid, size / kIconGrid);
    draw(p);
    return image;
}

void writeIconTheme(const QString& folder)
{
    const std::pair<const char*, void (*)(QPainter&)> icons[] = {
        {"apps/kavrin", drawProgramIcon},
        {"mimetypes/application-x-kavrin-project", drawProjectIcon},
    };
    for (const auto& [name, draw] : icons) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString path = QString("%1/hicolor/%2x%2/%3.png").arg(folder).arg(size).arg(name);
            QDir().mkpath(QFileInfo(path).path());
            save(icon(draw, size), path);
        }
        const QString path = QString("%1/hicolor/scalable/%2.svg").arg(folder, name);
        QDir().mkpath(QFileInfo(path).path());
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(kIconGrid, kIconGrid));
        svg.setViewBox(QRectF(0, 0, kIconGrid, kIconGrid));
        svg.setTitle("KAVRIN");
        QPainter p;
        if (!p.begin(&svg)) qFatal("cannot write %s", qPrintable(path));
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc == 3 && QString(argv[1]) == "--icon-theme") {
        writeIconTheme(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data/pictures");
    QDir().mkpath(folder);
    for (int index = 0; index < 14; ++index) {
        QImage image = canvas(30, 30);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        kToolbar[index](p);
        p.end();
        save(image, folder + QString("/toolbar-%1.png").arg(index, 2, 10, QChar('0')));
    }
    save(icon(drawProgramIcon, kIconGrid), folder + "/kavrin.png");
    drawSplash(folder + "/splash.jpg");
    drawPlayer(folder);
    return 0;
}
