// Writes the sample package into a directory: its firmware image, its
// pictures, and its config.xml from a template, with the image's digest.
#include "simulator/usb/FirmwareUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr std::uint16_t Date = (26 << 9) | (1 << 5) | 15; // 2026-01-15
constexpr std::uint16_t Version = 0x0110;                 // 1.10
constexpr std::size_t ImageSize = 24 * 1024;

QByteArray image()
{
    const std::vector<std::uint8_t> bytes = Sim::FirmwareUpdate::makeImage(Date, Version, ImageSize);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The template's @SHA256@ becomes the image's digest.
bool writeConfig(const QString &templatePath, const QString &path, const QByteArray &image)
{
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = in.readAll();
    text.replace("@SHA256@", QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
    return writeFile(path, text);
}

// A keyboard seen from above: white keys with black keys between them.
void drawKeys(QPainter &p, const QRectF &area, int whiteKeys)
{
    const qreal w = area.width() / whiteKeys;
    p.setPen(QPen(QColor(60, 60, 60), 1));
    for (int i = 0; i < whiteKeys; ++i) {
        const QRectF key(area.left() + i * w, area.top(), w, area.height());
        p.fillRect(key, Qt::white);
        p.drawRect(key);
    }
    static const bool hasBlack[7] = {true, true, false, true, true, true, false};
    for (int i = 0; i < whiteKeys - 1; ++i) {
        if (hasBlack[i % 7])
            p.fillRect(QRectF(area.left() + (i + 0.68) * w, area.top(), w * 0.64, area.height() * 0.6),
                       QColor(25, 25, 25));
    }
}

QImage display()
{
    QImage image(220, 300, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, 300);
    background.setColorAt(0, QColor(34, 48, 74));
    background.setColorAt(1, QColor(12, 16, 28));
    p.fillRect(image.rect(), background);
    // The controller: a body with knobs and keys.
    const QRectF body(18, 150, 184, 80);
    p.setBrush(QColor(58, 62, 70));
    p.setPen(QPen(QColor(120, 126, 140), 1.5));
    p.drawRoundedRect(body, 6, 6);
    p.setBrush(QColor(200, 120, 40));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i)
        p.drawEllipse(QPointF(body.left() + 22 + i * 20, body.top() + 16), 6, 6);
    drawKeys(p, QRectF(body.left() + 8, body.top() + 32, body.width() - 16, 40), 15);
    QFont title = p.font();
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 40, 220, 40), Qt::AlignCenter, QStringLiteral("Vorpad"));
    QFont sub = title;
    sub.setPixelSize(16);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(220, 170, 90));
    p.drawText(QRectF(0, 84, 220, 24), Qt::AlignCenter, QStringLiteral("Firmware 1.10"));
    return image;
}

QImage icon()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(34, 48, 74));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    drawKeys(p, QRectF(10, 26, 44, 28), 6);
    p.setBrush(QColor(220, 140, 50));
    p.drawEllipse(QPointF(20, 16), 5, 5);
    p.drawEllipse(QPointF(32, 16), 5, 5);
    p.drawEllipse(QPointF(44, 16), 5, 5);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: make-sample-package DIRECTORY CONFIG.xml.in\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QByteArray firmware = image();
    if (!writeFile(dir.filePath(QStringLiteral("vorpad-1.10.bin")), firmware) ||
        !writeConfig(QString::fromLocal8Bit(argv[2]), dir.filePath(QStringLiteral("config.xml")), firmware) ||
        !icon().save(dir.filePath(QStringLiteral("icon.png"))) ||
        !display().save(dir.filePath(QStringLiteral("display.png")))) {
        std::fprintf(stderr, "make-sample-package: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
