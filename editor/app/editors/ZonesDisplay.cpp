#include "editor/app/editors/ZonesDisplay.h"

#include "editor/app/editors/EditorSkin.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/DeviceModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include <tuple>

RectsDisplay::RectsDisplay(QWidget *parent) : QWidget(parent) {}

void RectsDisplay::setBackground(const QColor &color)
{
    m_background = color;
    update();
}

void RectsDisplay::setOutline(bool on)
{
    m_outline = on;
    update();
}

int RectsDisplay::addItem(const QColor &fill, const QColor &outline, const QString &label)
{
    Item item;
    item.fill = fill;
    item.outline = outline;
    item.label = label;
    m_items.append(item);
    return int(m_items.size()) - 1;
}

void RectsDisplay::setItemRect(int index, const QRect &rect)
{
    if (index < 0 || index >= m_items.size() || m_items[index].rect == rect)
        return;
    m_items[index].rect = rect;
    update();
}

void RectsDisplay::setItemVisible(int index, bool visible)
{
    if (index < 0 || index >= m_items.size() || m_items[index].visible == visible)
        return;
    m_items[index].visible = visible;
    update();
}

void RectsDisplay::setOrder(const QList<int> &order)
{
    m_order = order;
    update();
}

void RectsDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    QList<int> order = m_order;
    if (order.size() != m_items.size()) {
        order.clear();
        for (int i = 0; i < m_items.size(); ++i)
            order.append(i);
    }
    for (const int index : order) {
        if (index < 0 || index >= m_items.size() || !m_items[index].visible)
            continue;
        const Item &item = m_items[index];
        painter.fillRect(item.rect, item.fill);
        if (m_outline) {
            painter.setPen(QPen(item.outline, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
        }
        painter.setPen(item.text);
        painter.drawText(item.rect.topLeft() + QPoint(10, 15), item.label);
    }
}

KeyboardDisplay::KeyboardDisplay(const QPixmap &scale, QWidget *parent) : QWidget(parent), m_scale(scale)
{
    setFixedSize(scale.size());
}

void KeyboardDisplay::setRange(int start, int end)
{
    if (start == m_start && end == m_end)
        return;
    m_start = start;
    m_end = end;
    update();
}

void KeyboardDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scale);
    if (m_start < 0 && m_end < 0) {
        painter.fillRect(rect(), m_shading);
        return;
    }
    painter.fillRect(QRect(0, 0, qMax(0, m_start), height()), m_shading);
    painter.fillRect(QRect(m_end, 0, qMax(0, width() - m_end), height()), m_shading);
}

ZonesDisplay::ZonesDisplay(QWidget *parent) : QWidget(parent)
{
    const QPixmap velocity = EditorSkin::image(QStringLiteral(":/images/velscale.bmp"));
    const QPixmap keys = EditorSkin::image(QStringLiteral(":/images/keyscale.bmp"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    auto *scale = new QLabel(this);
    scale->setObjectName(QStringLiteral("velocityScale"));
    scale->setPixmap(velocity);
    scale->setFixedSize(velocity.size());
    m_rects = new RectsDisplay(this);
    m_rects->setObjectName(QStringLiteral("zoneRects"));
    m_rects->setFixedSize(keys.width(), velocity.height());
    m_keyboard = new KeyboardDisplay(keys, this);
    m_keyboard->setObjectName(QStringLiteral("keyboard"));
    grid->addWidget(scale, 0, 0);
    grid->addWidget(m_rects, 0, 1);
    grid->addWidget(m_keyboard, 1, 1);
    setFixedSize(grid->sizeHint());
}

ZonesDisplayData::ZonesDisplayData(Brisel::RemoteControlManager &manager)
    : octavePosition(manager.activePatch().zones().transposePosition())
    , octave(manager.activePatch().settings().setting(Octave))
{
    Brisel::ZonesSettings &settings = manager.activePatch().zones();
    for (int i = 0; i < ZoneCount; ++i) {
        Brisel::ZoneParams &zone = settings.zone(i);
        zones[std::size_t(i)] = {std::make_unique<NumericParameter>(zone.binding(ZoneLowNote)),
                                 std::make_unique<NumericParameter>(zone.binding(ZoneHighNote)),
                                 std::make_unique<NumericParameter>(zone.binding(ZoneLowVelocity)),
                                 std::make_unique<NumericParameter>(zone.binding(ZoneHighVelocity)),
                                 std::make_unique<NumericParameter>(zone.binding(ZoneEnable))};
    }
}

void ZonesDisplayData::bind(WidgetHandler *handler)
{
    for (Zone &zone : zones) {
        for (NumericParameter *param : {zone.lowNote.get(), zone.highNote.get(), zone.lowVelocity.get(),
                                        zone.highVelocity.get(), zone.enable.get()})
            param->set(handler);
    }
}

ZonesDisplayHandler::ZonesDisplayHandler(ZonesDisplay *display, ZonesDisplayData *data,
                                         Brisel::RemoteControlManager &manager)
    : m_display(display), m_data(data), m_manager(manager), m_rangeObserver(this, &ZonesDisplayHandler::updateRange)
{
    m_data->bind(this);
    manager.connection().changed().attach(&m_rangeObserver);
    m_data->octave.core().subject().attach(&m_rangeObserver);
    m_data->octavePosition.core().subject().attach(&m_rangeObserver);
}

ZonesDisplayHandler::~ZonesDisplayHandler() = default;

QRect ZonesDisplayHandler::zoneRect(QSize display, int lowNote, int highNote, int lowVelocity, int highVelocity)
{
    const int width = display.width();
    const int height = display.height();
    const int bottom = height - 1;
    return QRect(QPoint(width * lowNote / 128, bottom - height * (highVelocity + 1) / 128 + 1),
                 QPoint(width * (highNote + 1) / 128 - 1, bottom - height * lowVelocity / 128));
}

std::pair<int, int> ZonesDisplayHandler::playableRange(int width, int model, int octave, bool postZone)
{
    const Brisel::KeyboardRange keys = Brisel::keyboardRange(model);
    if (keys.lowestNote < 0 || keys.keyCount <= 0)
        return {-1, -1};
    const int shift = postZone ? 0 : octave * 12 - 48;
    const int first = qBound(0, keys.lowestNote + shift, 127);
    // The note after the last may be 128: a range that ends on note 127
    // keeps that key bright.
    const int after = qBound(0, keys.lowestNote + keys.keyCount + shift, 128);
    return {width * first / 128, width * after / 128};
}

void ZonesDisplayHandler::update()
{
    RectsDisplay *rects = m_display->rects();
    for (int i = 0; i < ZoneCount; ++i) {
        const ZonesDisplayData::Zone &zone = m_data->zones[std::size_t(i)];
        rects->setItemRect(i, zoneRect(rects->size(), zone.lowNote->value(), zone.highNote->value(),
                                       zone.lowVelocity->value(), zone.highVelocity->value()));
        rects->setItemVisible(i, zone.enable->value() != 0);
    }
    updateRange();
}

void ZonesDisplayHandler::updateRange()
{
    int start = -1;
    int end = -1;
    if (m_manager.isConnected()) {
        std::tie(start, end) = playableRange(m_display->rects()->width(), m_manager.currentDevice().model,
                                             m_data->octave.value(), m_data->octavePosition.value() == 1);
    }
    m_display->keyboard()->setRange(start, end);
}

ZonesDisplayBuilder::ZonesDisplayBuilder(QWidget *parent, const QString &section, Brisel::RemoteControlManager &manager)
    : WidgetBuilder(parent, section), m_manager(manager)
{
}

QWidget *ZonesDisplayBuilder::createWidget()
{
    m_display = new ZonesDisplay(parent());
    m_display->setObjectName(name());
    RectsDisplay *rects = m_display->rects();
    rects->setOutline(true);
    const QColor outline(20, 20, 20);
    rects->addItem(QColor(2, 61, 254, 128), outline, QStringLiteral("1"));
    rects->addItem(QColor(43, 255, 1, 128), outline, QStringLiteral("2"));
    rects->addItem(QColor(254, 192, 1, 128), outline, QStringLiteral("3"));
    rects->addItem(QColor(252, 1, 1, 102), outline, QStringLiteral("4"));
    // Zone 1 over zone 2, zones 3 and 4 over both.
    rects->setOrder({1, 0, 2, 3});
    return m_display;
}

void ZonesDisplayBuilder::createData() { m_data = new ZonesDisplayData(m_manager); }

WidgetHandler *ZonesDisplayBuilder::createHandler()
{
    return m_displayHandler = new ZonesDisplayHandler(m_display, m_data, m_manager);
}

WidgetHandler *ZonesDisplayBuilder::connectHandler() { return m_displayHandler; }
