// Draws the main window's built-in pictures: the two sample stills the preview shows under the
// subtitles, the colour-roles legend and the two glyph-button icons. Everything is drawn from
// shapes and gradients; no photo or foreign picture goes in.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <cstdint>

namespace {

// A fixed pseudo-random sequence, so the pictures come out the same on every run.
class Sequence {
public:
    double next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) / static_cast<double>(1ull << 53);
    }

private:
    std::uint64_t state_ = 0x4d617276u;
};

// A ridge line made of a few sine waves, closed down to the bottom edge.
QPainterPath Ridge(double width, double bottom, double base, double amplitude, double phase,
                   double waves) {
    QPainterPath path;
    path.moveTo(0, bottom);
    for (int x = 0; x <= static_cast<int>(width); x += 4) {
        const double t = x / width;
        const double y = base - amplitude * (0.55 * std::sin(t * waves * 3.1 + phase) +
                                             0.30 * std::sin(t * waves * 7.3 + phase * 2.0) +
                                             0.15 * std::sin(t * waves * 17.0 + phase * 3.0));
        path.lineTo(x, y);
    }
    path.lineTo(width, bottom);
    path.closeSubpath();
    return path;
}

// A harbour town at dusk: sky, sun, mountains, a town on the hill, a lighthouse and the sea.
// The lower part, where subtitles go, is dark water so that any text colour reads on it.
QImage SampleStill(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = width;
    const double h = height;
    const double horizon = h * 0.56;

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(24, 36, 86));
    sky.setColorAt(0.45, QColor(92, 74, 140));
    sky.setColorAt(0.80, QColor(236, 146, 98));
    sky.setColorAt(1.0, QColor(255, 212, 150));
    painter.fillRect(QRectF(0, 0, w, horizon + 1), sky);

    Sequence random;
    painter.setPen(Qt::NoPen);
    for (int star = 0; star < 60; ++star) {
        const double x = random.next() * w;
        const double y = random.next() * horizon * 0.35;
        painter.setBrush(QColor(255, 255, 240, 90 + static_cast<int>(random.next() * 120)));
        painter.drawEllipse(QPointF(x, y), 0.9, 0.9);
    }

    const QPointF sun(w * 0.68, horizon - h * 0.07);
    QRadialGradient glow(sun, h * 0.30);
    glow.setColorAt(0.0, QColor(255, 236, 180, 200));
    glow.setColorAt(0.25, QColor(255, 190, 120, 90));
    glow.setColorAt(1.0, QColor(255, 160, 100, 0));
    painter.setBrush(glow);
    painter.drawRect(QRectF(0, 0, w, horizon));
    painter.setBrush(QColor(255, 244, 210));
    painter.drawEllipse(sun, h * 0.045, h * 0.045);

    for (int cloud = 0; cloud < 7; ++cloud) {
        const double x = random.next() * w;
        const double y = horizon * (0.25 + random.next() * 0.45);
        const double length = w * (0.10 + random.next() * 0.16);
        painter.setBrush(QColor(255, 200, 170, 40 + static_cast<int>(random.next() * 40)));
        painter.drawEllipse(QPointF(x, y), length, h * 0.012);
    }

    painter.setBrush(QColor(150, 112, 150));
    painter.drawPath(Ridge(w, horizon + 1, horizon - h * 0.07, h * 0.06, 0.7, 1.6));
    painter.setBrush(QColor(104, 76, 122));
    painter.drawPath(Ridge(w, horizon + 1, horizon - h * 0.02, h * 0.05, 2.1, 2.3));

    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0.0, QColor(226, 150, 112));
    sea.setColorAt(0.12, QColor(120, 92, 128));
    sea.setColorAt(0.45, QColor(38, 52, 96));
    sea.setColorAt(1.0, QColor(12, 20, 44));
    painter.fillRect(QRectF(0, horizon, w, h - horizon), sea);

    // The sun's path on the water: short strokes that thin out towards the viewer.
    for (int stroke = 0; stroke < 90; ++stroke) {
        const double depth = random.next();
        const double y = horizon + 2 + depth * depth * (h - horizon) * 0.8;
        const double spread = 6 + depth * w * 0.09;
        const double x = sun.x() + (random.next() - 0.5) * spread;
        const double length = 4 + random.next() * (10 + depth * 26);
        painter.setBrush(QColor(255, 214, 150, static_cast<int>(170 * (1.0 - depth)) + 30));
        painter.drawRect(QRectF(x - length / 2, y, length, 1.2 + depth * 1.6));
    }
    for (int ripple = 0; ripple < 140; ++ripple) {
        const double depth = random.next();
        const double y = horizon + 4 + depth * (h - horizon - 6);
        const double x = random.next() * w;
        const double length = 6 + depth * 40;
        painter.setBrush(QColor(160, 170, 220, 26));
        painter.drawRect(QRectF(x, y, length, 1.0 + depth));
    }

    // The headland with the old town on the left; houses stand on its crest.
    const double waterline = horizon + h * 0.025;
    const double headland = w * 0.42;
    const auto crest = [&](double x) {
        return waterline - h * 0.10 * std::sin(3.14159265 * (0.2 + 0.8 * x / headland));
    };
    QPainterPath hill;
    hill.moveTo(0, waterline + 2);
    for (double x = 0; x <= headland; x += 3) {
        hill.lineTo(x, crest(x));
    }
    hill.lineTo(headland, waterline + 2);
    hill.closeSubpath();
    painter.setBrush(QColor(52, 38, 70));
    painter.drawPath(hill);
    for (int house = 0; house < 40; ++house) {
        const double houseWidth = w * (0.012 + random.next() * 0.016);
        const double x = random.next() * (headland * 0.85 - houseWidth);
        const double ground = std::max(crest(x), crest(x + houseWidth)) + h * 0.008;
        const double houseHeight = h * (0.014 + random.next() * 0.02);
        painter.setBrush(QColor(74 + static_cast<int>(random.next() * 34), 56, 88));
        painter.drawRect(QRectF(x, ground - houseHeight, houseWidth, houseHeight));
        if (random.next() < 0.6) {
            painter.setBrush(QColor(255, 206, 110));
            painter.drawRect(QRectF(x + houseWidth * 0.3, ground - houseHeight * 0.7,
                                    std::max(1.5, houseWidth * 0.25), std::max(1.5, h * 0.005)));
        }
    }
    // A dome and a slim tower above the roofs.
    painter.setBrush(QColor(66, 50, 86));
    painter.drawEllipse(QPointF(w * 0.14, crest(w * 0.14) - h * 0.012), w * 0.022, h * 0.024);
    painter.drawRect(QRectF(w * 0.235, crest(w * 0.235) - h * 0.07, w * 0.008, h * 0.075));

    // The lighthouse on its breakwater, with a soft beam.
    const double baseX = w * 0.86;
    const double baseY = horizon + h * 0.035;
    painter.setBrush(QColor(40, 30, 56));
    painter.drawRect(QRectF(w * 0.74, baseY, w * 0.26, h * 0.012));
    QPolygonF tower;
    tower << QPointF(baseX - w * 0.012, baseY) << QPointF(baseX - w * 0.007, baseY - h * 0.10)
          << QPointF(baseX + w * 0.007, baseY - h * 0.10) << QPointF(baseX + w * 0.012, baseY);
    painter.setBrush(QColor(226, 220, 214));
    painter.drawPolygon(tower);
    painter.setBrush(QColor(180, 60, 60));
    painter.drawRect(QRectF(baseX - w * 0.010, baseY - h * 0.06, w * 0.020, h * 0.015));
    const QPointF lamp(baseX, baseY - h * 0.108);
    QRadialGradient beam(lamp, h * 0.08);
    beam.setColorAt(0.0, QColor(255, 250, 200, 220));
    beam.setColorAt(1.0, QColor(255, 250, 200, 0));
    painter.setBrush(beam);
    painter.drawEllipse(lamp, h * 0.08, h * 0.08);

    // Rocks in the foreground.
    QPainterPath rocks;
    rocks.moveTo(0, h);
    rocks.lineTo(0, h * 0.90);
    rocks.cubicTo(w * 0.05, h * 0.86, w * 0.10, h * 0.89, w * 0.14, h * 0.93);
    rocks.cubicTo(w * 0.17, h * 0.95, w * 0.20, h * 0.97, w * 0.22, h);
    rocks.closeSubpath();
    painter.setBrush(QColor(14, 14, 26));
    painter.drawPath(rocks);
    return image;
}

// The colour-roles legend: a letter T drawn in the three subtitle colours on a red ground,
// with arrows naming each part.
QImage ColourLegend() {
    QImage image(70, 70, QImage::Format_RGB888);
    image.fill(QColor(200, 24, 24));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    // Bar and stem of the T, grown outwards for the grey edge and again for the black outline.
    const QRect bar(5, 6, 30, 11);
    const QRect stem(14, 17, 12, 45);
    for (const auto& [grow, colour] :
         {std::pair{5, QColor(0, 0, 0)}, std::pair{2, QColor(150, 150, 150)},
          std::pair{0, QColor(255, 255, 255)}}) {
        painter.setBrush(colour);
        painter.drawRect(bar.adjusted(-grow, -grow, grow, grow));
        painter.drawRect(stem.adjusted(-grow, -grow, grow, grow));
    }

    const QColor labelColour(255, 226, 0);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    struct Arrow {
        const char* label;
        QPoint labelTopLeft;
        QPoint target;
    };
    const Arrow arrows[] = {
        {"TXT", {46, 2}, {30, 11}},   // the white body
        {"ANT", {46, 20}, {27, 28}},  // the grey edge
        {"OUT", {46, 38}, {29, 46}},  // the black outline
        {"BG", {50, 56}, {37, 61}},   // the red ground
    };
    for (const Arrow& arrow : arrows) {
        painter.setPen(labelColour);
        painter.drawText(QRect(arrow.labelTopLeft, QSize(24, 11)), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromLatin1(arrow.label));
        const QPointF from(arrow.labelTopLeft.x() - 2, arrow.labelTopLeft.y() + 5);
        const QPointF to(arrow.target);
        painter.drawLine(from, to);
        const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
        QPolygonF head;
        head << to << to - QPointF(5 * std::cos(angle - 0.55), 5 * std::sin(angle - 0.55))
             << to - QPointF(5 * std::cos(angle + 0.55), 5 * std::sin(angle + 0.55));
        painter.setBrush(labelColour);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(head);
    }
    return image;
}

// Reset to defaults: a circular arrow.
QImage ResetIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 110, 60);
    painter.setPen(QPen(ink, 3.5, Qt::SolidLine, Qt::RoundCap));
    const QRectF circle(6, 6, 20, 20);
    painter.drawArc(circle, 110 * 16, 290 * 16);
    // The arrow head at the open end of the arc, pointing along it.
    const double end = 110.0 * 3.14159265 / 180.0;
    const QPointF tip(16 + 10 * std::cos(end), 16 - 10 * std::sin(end));
    QPolygonF head;
    head << tip + QPointF(-1, -6.5) << tip + QPointF(6.5, 0.5) << tip + QPointF(-1.5, 6.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(head);
    return image;
}

// Change the preview picture: a small framed landscape.
QImage ChangeImageIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(3, 6, 26, 20);
    QLinearGradient sky(0, frame.top(), 0, frame.bottom());
    sky.setColorAt(0.0, QColor(90, 150, 220));
    sky.setColorAt(1.0, QColor(200, 225, 250));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRect(frame);
    painter.setBrush(QColor(250, 200, 60));
    painter.drawEllipse(QPointF(22, 12), 2.6, 2.6);
    QPolygonF hills;
    hills << QPointF(3, 26) << QPointF(3, 21) << QPointF(11, 13) << QPointF(17, 20)
          << QPointF(21, 17) << QPointF(29, 23) << QPointF(29, 26);
    painter.setBrush(QColor(60, 130, 70));
    painter.drawPolygon(hills);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(70, 70, 80), 2));
    painter.drawRect(frame);
    return image;
}

bool Save(const QImage& image, const QDir& folder, const char* name, QTextStream& err) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG", 0)) {
        err << "cannot write " << path << Qt::endl;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: make_pictures <output folder>" << Qt::endl;
        return 2;
    }
    const QDir folder(arguments.at(1));
    const bool saved = Save(SampleStill(720, 576), folder, "preview_pal_720x576.png", err) &&
                       Save(SampleStill(720, 480), folder, "preview_ntsc_720x480.png", err) &&
                       Save(ColourLegend(), folder, "colors.png", err) &&
                       Save(ResetIcon(), folder, "reset.png", err) &&
                       Save(ChangeImageIcon(), folder, "change_image.png", err);
    return saved ? 0 : 1;
}
