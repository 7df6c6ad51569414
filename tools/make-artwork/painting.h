// Drawing routines for the player's artwork; used by make-artwork (main.cpp).

#pragma once

#include <QConicalGradient>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace artwork {

const QColor kInk(0x20, 0x32, 0x4a); // symbols on the light control bar
const QColor kButtonTop(0x34, 0x50, 0x74);
const QColor kButtonBottom(0x18, 0x27, 0x3c);

inline QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

inline void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// A play triangle pointing right (or left) whose centroid sits on `centre`,
// so it looks optically centred inside round shapes.
inline QPainterPath triangle(QPointF centre, qreal height, bool pointsRight = true)
{
    const qreal width = height * 0.9;
    const qreal dir = pointsRight ? 1.0 : -1.0;
    const qreal back = centre.x() - dir * width / 3.0;
    QPainterPath path;
    path.moveTo(back, centre.y() - height / 2);
    path.lineTo(back + dir * width, centre.y());
    path.lineTo(back, centre.y() + height / 2);
    path.closeSubpath();
    return path;
}

// Fills a path and strokes it in the same colour to soften the corners.
inline void fillRounded(QPainter &p, const QPainterPath &path, const QColor &color, qreal radius)
{
    p.setPen(QPen(color, radius, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPath(path);
}

enum class Button
{
    Play,
    Pause,
    Stop,
    Previous,
    Next
};

// Round dark button with a soft top highlight and a white symbol.
inline QImage buttonImage(Button button)
{
    const int size = (button == Button::Play || button == Button::Pause) ? 48 : 32;
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    const qreal s = size;
    const QRectF body(0.75, 0.75, s - 1.5, s - 1.5);

    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, kButtonTop);
    fill.setColorAt(1, kButtonBottom);
    p.setPen(QPen(QColor(10, 18, 30, 200), 1.0));
    p.setBrush(fill);
    p.drawEllipse(body);

    QLinearGradient gloss(0, body.top(), 0, s * 0.55);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(s * 0.16, 1.6, s * 0.68, s * 0.46));

    const qreal m = s / 2;
    p.setBrush(Qt::white);
    switch (button) {
    case Button::Play: fillRounded(p, triangle(QPointF(m, m), s * 0.4), Qt::white, 2); break;
    case Button::Pause:
        p.drawRoundedRect(QRectF(m - 8, m - 9, 5, 18), 1.5, 1.5);
        p.drawRoundedRect(QRectF(m + 3, m - 9, 5, 18), 1.5, 1.5);
        break;
    case Button::Stop: p.drawRoundedRect(QRectF(m - 5, m - 5, 10, 10), 1.5, 1.5); break;
    case Button::Previous: // bar + left triangle, the pair centred as a group
        fillRounded(p, triangle(QPointF(m + 3.1, m), 11, false), Qt::white, 1.2);
        p.fillRect(QRectF(m - 6, m - 5.5, 2.5, 11), Qt::white);
        break;
    case Button::Next:
        fillRounded(p, triangle(QPointF(m - 3.1, m), 11), Qt::white, 1.2);
        p.fillRect(QRectF(m + 3.5, m - 5.5, 2.5, 11), Qt::white);
        break;
    }
    return image;
}

// Optical disc: gradient body, grooves, light sheen and a see-through hub.
inline void paintDisc(QPainter &p, qreal s, const QColor &light, const QColor &dark,
                      bool iridescent)
{
    const QPointF c(s / 2, s / 2);
    const qreal r = s / 2 - s / 48;
    const qreal hole = r * 0.13;

    QPainterPath ring;
    ring.addEllipse(c, r, r);
    ring.addEllipse(c, hole, hole);

    QRadialGradient body(c, r, c - QPointF(r * 0.35, r * 0.45));
    body.setColorAt(0, light);
    body.setColorAt(1, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(ring);

    p.save();
    p.setClipPath(ring);
    QConicalGradient sheen(c, 60);
    const QColor glow = iridescent ? QColor(200, 240, 255) : QColor(255, 255, 255);
    const qreal stops[] = {0.0, 0.10, 0.20, 0.50, 0.60, 0.70, 1.0};
    const int alphas[] = {0, 130, 0, 0, 110, 0, 0};
    for (int i = 0; i < 7; ++i) {
        QColor col = glow;
        col.setAlpha(alphas[i]);
        sheen.setColorAt(stops[i], col);
    }
    if (iridescent) {
        sheen.setColorAt(0.28, QColor(255, 120, 220, 50));
        sheen.setColorAt(0.78, QColor(120, 255, 200, 45));
    }
    p.setBrush(sheen);
    p.drawEllipse(c, r, r);

    p.setBrush(Qt::NoBrush);
    for (qreal f : {0.93, 0.80, 0.66}) {
        p.setPen(QPen(QColor(255, 255, 255, 45), s / 128.0));
        p.drawEllipse(c, r * f, r * f);
    }
    p.restore();

    // Clear plastic hub around the hole.
    QPainterPath hub;
    hub.addEllipse(c, r * 0.36, r * 0.36);
    hub.addEllipse(c, hole, hole);
    p.setPen(QPen(QColor(255, 255, 255, 110), s / 96.0));
    p.setBrush(QColor(230, 240, 255, 70));
    p.drawPath(hub);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark.darker(160), s / 64.0));
    p.drawEllipse(c, r, r);
}

inline QImage logoImage(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    const qreal s = size;
    paintDisc(p, s, QColor(0x8c, 0xc8, 0xff), QColor(0x17, 0x3d, 0x7a), false);

    // Small sizes get a larger badge so the play mark stays readable.
    const qreal badgeRadius = size <= 32 ? s * 0.3 : s * 0.2;
    const QPointF c(s / 2, s / 2);
    QRadialGradient badge(c, badgeRadius, c - QPointF(0, badgeRadius * 0.3));
    badge.setColorAt(0, QColor(0x2a, 0x4a, 0x78));
    badge.setColorAt(1, QColor(0x0c, 0x18, 0x2c));
    p.setPen(size <= 16 ? QPen(Qt::NoPen) : QPen(QColor(255, 255, 255, 200), qMax(1.0, s / 64.0)));
    p.setBrush(badge);
    p.drawEllipse(c, badgeRadius, badgeRadius);
    fillRounded(p, triangle(c, badgeRadius), Qt::white, qMax(0.5, s / 40.0));
    return image;
}

inline QImage discImage()
{
    QImage image = blankImage(72, 72);
    QPainter p(&image);
    prepare(p);
    paintDisc(p, 72, QColor(0xf2, 0xf6, 0xfb), QColor(0x8a, 0x9a, 0xb4), true);
    return image;
}

inline QImage folderImage()
{
    QImage image = blankImage(72, 72);
    QPainter p(&image);
    prepare(p);

    // Back panel with tab.
    QPainterPath back;
    back.addRoundedRect(QRectF(6, 12, 26, 12), 3, 3);
    back.addRoundedRect(QRectF(6, 17, 60, 45), 4, 4);
    back.setFillRule(Qt::WindingFill);
    QLinearGradient backFill(0, 12, 0, 62);
    backFill.setColorAt(0, QColor(0x3b, 0x74, 0xb8));
    backFill.setColorAt(1, QColor(0x1f, 0x45, 0x7c));
    p.setPen(QPen(QColor(0x14, 0x2c, 0x50), 1));
    p.setBrush(backFill);
    p.drawPath(back.simplified());

    // Film strip tucked into the folder.
    p.save();
    p.translate(37, 27);
    p.rotate(-7);
    const QRectF strip(-22, -11, 44, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x1d, 0x24));
    p.drawRoundedRect(strip, 2, 2);
    p.setBrush(QColor(0xd8, 0xdf, 0xe8));
    for (int i = 0; i < 8; ++i) {
        const qreal x = strip.left() + 2.5 + i * 5.4;
        p.drawRoundedRect(QRectF(x, strip.top() + 1.6, 2.8, 2.4), 0.6, 0.6);
        p.drawRoundedRect(QRectF(x, strip.bottom() - 4.0, 2.8, 2.4), 0.6, 0.6);
    }
    QLinearGradient frame(0, -6, 0, 6);
    frame.setColorAt(0, QColor(0x7f, 0xb6, 0xe8));
    frame.setColorAt(1, QColor(0x3c, 0x6e, 0xa8));
    p.setBrush(frame);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(strip.left() + 2 + i * 14, -5.5, 12, 11));
    p.restore();

    // Front flap.
    QPainterPath front;
    front.addRoundedRect(QRectF(4, 30, 64, 33), 4, 4);
    QLinearGradient frontFill(0, 30, 0, 63);
    frontFill.setColorAt(0, QColor(0x7a, 0xb4, 0xf0));
    frontFill.setColorAt(1, QColor(0x36, 0x74, 0xc0));
    p.setPen(QPen(QColor(0x1a, 0x3c, 0x6c), 1));
    p.setBrush(frontFill);
    p.drawPath(front);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.drawLine(QPointF(8, 31.5), QPointF(64, 31.5));

    // Play mark.
    const QPointF c(36, 47);
    p.setPen(QPen(QColor(255, 255, 255, 230), 1.8));
    p.setBrush(QColor(0x12, 0x2a, 0x4c, 120));
    p.drawEllipse(c, 10, 10);
    fillRounded(p, triangle(c, 10), Qt::white, 1.5);
    return image;
}

inline QImage speakerImage(bool muted)
{
    QImage image = blankImage(24, 24);
    QPainter p(&image);
    prepare(p);
    QPainterPath speaker;
    speaker.moveTo(3, 9);
    speaker.lineTo(7, 9);
    speaker.lineTo(12, 4.5);
    speaker.lineTo(12, 19.5);
    speaker.lineTo(7, 15);
    speaker.lineTo(3, 15);
    speaker.closeSubpath();
    fillRounded(p, speaker, kInk, 1.2);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (muted) {
        p.drawLine(QPointF(15.5, 9), QPointF(21.5, 15));
        p.drawLine(QPointF(21.5, 9), QPointF(15.5, 15));
    } else {
        p.drawArc(QRectF(8.5, 7.5, 9, 9), -50 * 16, 100 * 16);
        p.drawArc(QRectF(5, 4, 16, 16), -55 * 16, 110 * 16);
    }
    return image;
}

inline QImage fullscreenImage()
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const qreal a = 2, b = 6, e = 14, f = 10;
    p.drawPolyline(QPolygonF({{a, b}, {a, a}, {b, a}}));
    p.drawPolyline(QPolygonF({{f, a}, {e, a}, {e, b}}));
    p.drawPolyline(QPolygonF({{e, f}, {e, e}, {f, e}}));
    p.drawPolyline(QPolygonF({{b, e}, {a, e}, {a, f}}));
    return image;
}

inline QImage playStatusImage()
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    prepare(p);
    fillRounded(p, triangle(QPointF(8.5, 8), 10), QColor(0xa6, 0xd8, 0xff), 1.0);
    return image;
}

inline QImage informationImage()
{
    QImage image = blankImage(48, 48);
    QPainter p(&image);
    prepare(p);
    QLinearGradient fill(0, 2, 0, 46);
    fill.setColorAt(0, QColor(0x4c, 0x9c, 0xec));
    fill.setColorAt(1, QColor(0x16, 0x58, 0xa8));
    p.setPen(QPen(QColor(0x0e, 0x3c, 0x78), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2.5, 2.5, 43, 43));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 14.5), 3.2, 3.2);
    p.drawRoundedRect(QRectF(21, 20.5, 6, 16), 1.8, 1.8);
    return image;
}

inline QImage titleButtonImage(bool close)
{
    QImage image = blankImage(32, 24);
    QPainter p(&image);
    prepare(p);
    if (close) {
        p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 7.5), QPointF(20.5, 16.5));
        p.drawLine(QPointF(20.5, 7.5), QPointF(11.5, 16.5));
    } else {
        p.fillRect(QRectF(11, 12, 10, 1), Qt::white);
    }
    return image;
}

inline QImage dotImage()
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x18, 0x74, 0xcd));
    p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
    return image;
}

inline QImage backgroundImage()
{
    const int w = 1920, h = 1080;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    QLinearGradient base(0, 0, 0, h);
    base.setColorAt(0, QColor(0x02, 0x04, 0x07));
    base.setColorAt(1, QColor(0x28, 0x33, 0x45));
    p.fillRect(image.rect(), base);

    auto glow = [&p](QPointF c, qreal r, QColor col) {
        QRadialGradient g(c, r);
        g.setColorAt(0, col);
        col.setAlpha(0);
        g.setColorAt(1, col);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    };
    glow(QPointF(1480, 300), 900, QColor(0x4a, 0x6c, 0xa0, 70));
    glow(QPointF(260, 980), 700, QColor(0x2c, 0x4a, 0x70, 60));
    glow(QPointF(960, 1160), 600, QColor(0x60, 0x80, 0xb0, 35));

    // Faint rings echoing the disc motif.
    p.setBrush(Qt::NoBrush);
    const QPointF ringCentre(1500, 520);
    const qreal radii[] = {300, 430, 580, 760, 980};
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(170, 200, 255, 22 - i * 3), 2.0));
        p.drawEllipse(ringCentre, radii[i], radii[i]);
    }
    // Broad soft light arcs: rings of huge circles centred off screen.
    auto softArc = [&p](QPointF c, qreal r, int alpha) {
        QRadialGradient g(c, r);
        g.setColorAt(0.86, QColor(150, 190, 255, 0));
        g.setColorAt(0.92, QColor(150, 190, 255, alpha));
        g.setColorAt(0.98, QColor(150, 190, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    };
    softArc(QPointF(-300, 1700), 2000, 16);
    softArc(QPointF(2300, -500), 1500, 12);

    // Vignette.
    QRadialGradient vignette(QPointF(w / 2.0, h / 2.0), w * 0.75);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(vignette);
    p.drawRect(image.rect());
    p.end();

    // Light dithering so the dark gradient does not band after compression.
    QRandomGenerator rng(20240601);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int d = int(rng.bounded(3)) - 1;
            const QRgb px = line[x];
            line[x] = qRgb(qBound(0, qRed(px) + d, 255), qBound(0, qGreen(px) + d, 255),
                           qBound(0, qBlue(px) + d, 255));
        }
    }
    return image;
}

} // namespace artwork
