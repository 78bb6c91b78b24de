// skin-gallery OUTDIR: renders the editor skin for review. Every registered
// render description in every state, the skinned widgets of each kind, the
// common widgets in the wire-frame style, every bitmap, and the two editor
// panels laid out by the skin's layout keys. Exits with 1 when a panel's
// widgets overlap or leave the panel.
#include "tools/skin-gallery/PanelMockup.h"

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelEditorSkin.h"
#include "editor/skin/CZelLayoutCheck.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSkinEngine.h"
#include "editor/skin/CZelSlider.h"
#include "editor/skin/CZelWireFrameStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <memory>

namespace {

const QColor Ground(44, 46, 51);

struct Cell {
    QString caption;
    QImage image;
};

// Cells in a grid, each scaled up and captioned.
QImage sheet(const QString &title, const QList<Cell> &cells, int scale, int columns)
{
    int cellWidth = 90;
    int cellHeight = 20;
    for (const Cell &cell : cells) {
        cellWidth = std::max(cellWidth, cell.image.width() * scale + 12);
        cellHeight = std::max(cellHeight, cell.image.height() * scale + 26);
    }
    const int rows = int((cells.size() + columns - 1) / columns);
    QImage result(columns * cellWidth + 12, rows * cellHeight + 30, QImage::Format_RGB32);
    result.fill(Ground);
    QPainter p(&result);
    p.setPen(QColor(255, 138, 30));
    p.drawText(QRect(8, 4, result.width() - 16, 20), Qt::AlignLeft | Qt::AlignVCenter, title);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QPoint origin(6 + int(i % columns) * cellWidth, 28 + int(i / columns) * cellHeight);
        const QImage scaled = cells[i].image.scaled(cells[i].image.size() * scale);
        p.drawImage(origin + QPoint((cellWidth - scaled.width()) / 2, 0), scaled);
        p.setPen(QColor(196, 201, 208));
        p.drawText(QRect(origin.x(), origin.y() + scaled.height() + 2, cellWidth, 16), Qt::AlignHCenter | Qt::AlignTop,
                   cells[i].caption);
    }
    return result;
}

QImage describe(const CZelRenderStyle &style, const CZelRenderDescription &description, const CZelRenderState &state,
                double position)
{
    QSize size = description.naturalSize();
    if (size.width() < 0 || size.height() < 0)
        size = QSize(24, 24);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Ground);
    QPainter painter(&image);
    style.paint(&painter, &description, image.rect(), float(position), state.normal, state.pressed, state.disabled,
                state.on, state.mid);
    return image;
}

QList<Cell> descriptionCells(const CZelRenderStyle &style, const CZelRenderDescription &description)
{
    QList<Cell> cells;
    if (description.compositeType() == CZelRenderDescription::Composite_Continuous &&
        description.renderStyle() == CZelRenderDescription::Render_Composite) {
        for (double position : {0.0, 0.25, 0.5, 0.75, 1.0})
            cells.append({QStringLiteral("position %1").arg(position), describe(style, description, {}, position)});
        return cells;
    }
    const int states = description.buttonType() == CZelRenderDescription::Button_Command  ? 3
                       : description.buttonType() == CZelRenderDescription::Button_Toggle ? 6
                                                                                          : 9;
    for (int s = 0; s < states; ++s) {
        CZelRenderState state;
        state.pressed = s % 3 == 1;
        state.disabled = s % 3 == 2;
        state.normal = !state.pressed;
        state.on = s / 3 == 1;
        state.mid = s / 3 == 2;
        cells.append({CZelRenderDescription::stateName(s), describe(style, description, state, 0)});
    }
    return cells;
}

QImage grab(QWidget *widget) { return widget->grab().toImage(); }

QList<Cell> widgetCells(CZelRenderStyle *style)
{
    QList<Cell> cells;
    QWidget host;
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, Ground);
    host.setPalette(palette);
    host.setAutoFillBackground(true);
    for (int value : {0, 32, 64, 96, 127}) {
        auto *dial = new CZelDial(&host);
        dial->setStyle(style);
        dial->setTrackKey(QStringLiteral("dial_track"));
        dial->setThumbKey(QStringLiteral("dial_thumb"));
        dial->setRange(0, 127);
        dial->setValue(value);
        cells.append({QStringLiteral("dial %1").arg(value), grab(dial)});
    }
    for (int value : {0, 64, 127}) {
        auto *wheel = new CZelSlider(&host);
        wheel->setStyle(style);
        wheel->setGrooveKey(QStringLiteral("wheel_track"));
        wheel->setHandleKey(QStringLiteral("wheel_thumb"));
        wheel->setRange(0, 127);
        wheel->setValue(value);
        cells.append({QStringLiteral("wheel %1").arg(value), grab(wheel)});
    }
    const QStringList keys = {
        QStringLiteral("storeButton"),    QStringLiteral("checkButton"), QStringLiteral("velocityCurveButton5"),
        QStringLiteral("spinInc"),        QStringLiteral("spinDec"),     QStringLiteral("modifiedLED"),
        QStringLiteral("controllerMode"), QStringLiteral("zone2Enable"), QStringLiteral("zonesEnable")};
    for (const QString &key : keys) {
        for (int variant = 0; variant < 4; ++variant) {
            auto *button = new CZelPushButton(&host);
            button->setStyle(style);
            button->setKey(key);
            button->setCheckable(true);
            button->setChecked(variant == 1 || variant == 3);
            button->setDown(variant == 2);
            button->setEnabled(variant != 3);
            static const char *names[] = {"", " on", " down", " disabled on"};
            cells.append({key + QLatin1String(names[variant]), grab(button)});
        }
    }
    return cells;
}

QImage commonWidgets()
{
    auto style = std::make_unique<CZelWireFrameStyle>();
    QWidget window;
    window.setStyle(style.get());
    window.setPalette(style->standardPalette());
    window.setAutoFillBackground(true);
    auto *grid = new QGridLayout(&window);
    const auto add = [&](QWidget *widget, int row, int column, int span = 1) {
        widget->setStyle(style.get());
        widget->setPalette(style->standardPalette());
        grid->addWidget(widget, row, column, 1, span);
    };
    add(new QPushButton(QStringLiteral("Push button")), 0, 0);
    auto *defaultButton = new QPushButton(QStringLiteral("Default"));
    defaultButton->setDefault(true);
    add(defaultButton, 0, 1);
    auto *disabled = new QPushButton(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    add(disabled, 0, 2);
    auto *check = new QCheckBox(QStringLiteral("Check box"));
    check->setChecked(true);
    add(check, 1, 0);
    add(new QCheckBox(QStringLiteral("Unchecked")), 1, 1);
    auto *radio = new QRadioButton(QStringLiteral("Radio"));
    radio->setChecked(true);
    add(radio, 1, 2);
    add(new QLineEdit(QStringLiteral("Line edit")), 2, 0, 2);
    auto *spin = new QSpinBox;
    spin->setValue(42);
    add(spin, 2, 2);
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setValue(60);
    add(slider, 3, 0, 2);
    auto *dial = new QDial;
    dial->setNotchesVisible(true);
    dial->setValue(30);
    dial->setFixedSize(60, 60);
    add(dial, 3, 2);
    auto *progress = new QProgressBar;
    progress->setValue(65);
    add(progress, 4, 0, 2);
    auto *tool = new QToolButton;
    tool->setText(QStringLiteral("Tool"));
    add(tool, 4, 2);
    auto *scroll = new QScrollBar(Qt::Horizontal);
    scroll->setRange(0, 100);
    scroll->setValue(30);
    add(scroll, 5, 0, 3);
    auto *vertical = new QSlider(Qt::Vertical);
    vertical->setTickPosition(QSlider::TicksBothSides);
    vertical->setValue(40);
    add(vertical, 0, 3);
    window.resize(420, 260);
    return grab(&window);
}

// The bitmaps that fit in maxSize and not in the smaller sizes before it; the
// panels have pictures of their own.
QList<Cell> bitmapCells(QSize smaller, QSize maxSize)
{
    QList<Cell> cells;
    const QDir images(QStringLiteral(":/images"));
    for (const QString &name : images.entryList(QDir::Files, QDir::Name)) {
        QImage image(images.filePath(name));
        const bool fitsSmaller = image.width() <= smaller.width() && image.height() <= smaller.height();
        const bool fits = image.width() <= maxSize.width() && image.height() <= maxSize.height();
        if (fits && !fitsSmaller)
            cells.append({name, image});
    }
    return cells;
}

bool write(const QImage &image, const QString &directory, const QString &name)
{
    const QString path = QDir(directory).filePath(name);
    if (image.save(path))
        return true;
    std::fprintf(stderr, "skin-gallery: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-gallery OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    CZelSkinEngine engine;
    auto style = std::make_unique<CZelRenderStyle>(&engine);
    if (!CZelEditorSkin::load(engine)) {
        std::fprintf(stderr, "skin-gallery: the editor skin did not load completely\n");
        return 1;
    }
    bool ok = true;
    for (const QString &key : CZelEditorSkin::elementNames()) {
        const CZelRenderDescription *description = engine.renderDescription(key);
        ok = write(sheet(key, descriptionCells(*style, *description), 3, 6), out,
                   QStringLiteral("description_%1.png").arg(key)) &&
             ok;
    }
    ok = write(sheet(QStringLiteral("Skinned widgets"), widgetCells(style.get()), 2, 8), out,
               QStringLiteral("widgets.png")) &&
         ok;
    ok = write(commonWidgets(), out, QStringLiteral("common_widgets.png")) && ok;
    ok = write(sheet(QStringLiteral("Small bitmaps"), bitmapCells({0, 0}, {150, 40}), 3, 6), out,
               QStringLiteral("bitmaps_small.png")) &&
         ok;
    ok = write(sheet(QStringLiteral("Large bitmaps"), bitmapCells({150, 40}, {600, 300}), 1, 4), out,
               QStringLiteral("bitmaps_large.png")) &&
         ok;

    int problems = 0;
    const std::unique_ptr<QWidget> panels[] = {std::unique_ptr<QWidget>(PanelMockup::patchEditor(engine, style.get())),
                                               std::unique_ptr<QWidget>(PanelMockup::zonesEditor(engine, style.get()))};
    const char *names[] = {"panel_patch_editor.png", "panel_zones_editor.png"};
    for (int i = 0; i < 2; ++i) {
        ok = write(grab(panels[i].get()), out, QString::fromLatin1(names[i])) && ok;
        QStringList found = CZelLayoutCheck::problems(panels[i].get());
        for (const QString &key : PanelMockup::missingLayoutKeys(panels[i].get()))
            found.append(QStringLiteral("no layout rectangle: %1").arg(key));
        for (const QString &problem : found) {
            std::fprintf(stderr, "%s: %s\n", names[i], qPrintable(problem));
            ++problems;
        }
    }
    return ok && problems == 0 ? 0 : 1;
}
