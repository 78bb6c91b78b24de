#include "tools/skingen/Artwork.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTextStream>

namespace Artwork {

QFont labelFont(qreal pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage onBlack(QSize size, const std::function<void(QPainter &)> &shape)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        shape(painter);
    }
    QImage result = blank(size);
    for (int y = 0; y < size.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            if (qAlpha(in[x]) == 0)
                continue;
            // Premultiplied colour over black is the colour itself.
            int r = qRed(in[x]), g = qGreen(in[x]), b = qBlue(in[x]);
            if (r == 0 && g == 0 && b == 0)
                r = g = b = 1;
            out[x] = qRgb(r, g, b);
        }
    }
    return result;
}

void brushedPanel(QPainter &painter, const QRect &rect, const QColor &base, quint32 seed)
{
    painter.fillRect(rect, base);
    QRandomGenerator random(seed);
    // Fine horizontal streaks of slightly lighter and darker metal.
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int x = rect.left();
        while (x <= rect.right()) {
            const int length = 20 + int(random.bounded(140));
            const int shade = int(random.bounded(11)) - 5;
            QColor streak = base.lighter(100 + shade * 2);
            streak.setAlpha(90);
            painter.fillRect(QRect(x, y, std::min(length, rect.right() - x + 1), 1), streak);
            x += length;
        }
    }
    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 18));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, QColor(0, 0, 0, 40));
    painter.fillRect(rect, sheen);
}

void sectionBox(QPainter &painter, const QRectF &rect, const QString &title)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.fillPath(path, QColor(0, 0, 0, 60));
    painter.setPen(QPen(QColor(0, 0, 0, 140), 1));
    painter.drawPath(path);
    QPainterPath highlight;
    highlight.addRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    painter.drawPath(highlight);
    if (!title.isEmpty()) {
        painter.setFont(labelFont(8));
        const QRectF titleRect(rect.left() + 8, rect.top() - 6, painter.fontMetrics().horizontalAdvance(title) + 8, 11);
        painter.fillRect(titleRect, Colors::Panel);
        painter.setPen(Colors::Accent);
        painter.drawText(titleRect, Qt::AlignCenter, title);
    }
    painter.restore();
}

void label(QPainter &painter, const QRectF &rect, const QString &text, int flags, qreal pixelSize, const QColor &color)
{
    painter.save();
    painter.setFont(labelFont(pixelSize));
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(rect.translated(0, 1), flags, text);
    painter.setPen(color);
    painter.drawText(rect, flags, text);
    painter.restore();
}

QImage field(QSize size, const QColor &body, const QColor &edge)
{
    return onBlack(size, [&](QPainter &p) {
        const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
        QPainterPath path;
        path.addRoundedRect(r, 2.5, 2.5);
        QLinearGradient fill(0, 0, 0, size.height());
        fill.setColorAt(0, body.darker(130));
        fill.setColorAt(0.3, body);
        fill.setColorAt(1, body.lighter(115));
        p.fillPath(path, fill);
        p.setPen(QPen(edge, 1));
        p.drawPath(path);
        p.setPen(QPen(QColor(0, 0, 0, 160), 1));
        p.drawLine(QPointF(2.5, 1.5), QPointF(size.width() - 2.5, 1.5));
    });
}

namespace {

void putLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A bottom-up 32-bit BI_RGB Windows bitmap; the toolkit's writer only makes
// 24-bit ones. The fourth byte of each pixel is left 0, as the format's
// readers expect for BI_RGB.
QByteArray bitmap32(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const quint32 pixelBytes = quint32(image.width()) * quint32(image.height()) * 4;
    QByteArray out;
    out.append("BM");
    putLittleEndian(out, 14 + 40 + pixelBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 14 + 40, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, quint32(image.width()), 4);
    putLittleEndian(out, quint32(image.height()), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 32, 2);
    putLittleEndian(out, 0, 4); // BI_RGB
    putLittleEndian(out, pixelBytes, 4);
    putLittleEndian(out, 2835, 4); // 72 dpi
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            out.append(char(0));
        }
    }
    return out;
}

} // namespace

bool save(const QImage &image, const QString &directory, const QString &name, Depth depth)
{
    QSaveFile file(QDir(directory).filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool written = false;
    if (name.endsWith(QLatin1String(".png")))
        written = image.save(&file, "PNG");
    else if (depth == Depth::Bits32)
        written = file.write(bitmap32(image)) == qint64(14 + 40) + qint64(image.width()) * image.height() * 4;
    else
        written = image.save(&file, "BMP");
    return written && file.commit();
}

} // namespace Artwork
