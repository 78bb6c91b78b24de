#pragma once

#include "editor/app/editors/Parameters.h"
#include "editor/app/editors/WidgetBuilders.h"
#include "editor/app/editors/WidgetHandler.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>

namespace Brisel {
class RemoteControlManager;
}

// Coloured, labelled rectangles over a dark field, drawn in a chosen order.
class RectsDisplay : public QWidget
{
    Q_OBJECT

public:
    struct Item {
        QRect rect;
        QColor fill;
        QColor outline;
        QColor text = Qt::white;
        QString label;
        bool visible = false;
    };

    explicit RectsDisplay(QWidget *parent = nullptr);

    QColor background() const { return m_background; }
    void setBackground(const QColor &color);
    bool outline() const { return m_outline; }
    void setOutline(bool on);
    // Appends an invisible rectangle; returns its index.
    int addItem(const QColor &fill, const QColor &outline, const QString &label);
    int count() const { return int(m_items.size()); }
    const Item &item(int index) const { return m_items.at(index); }
    void setItemRect(int index, const QRect &rect);
    void setItemVisible(int index, bool visible);
    // Indices in drawing order; used only when it names every rectangle.
    void setOrder(const QList<int> &order);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background{53, 53, 53, 255};
    bool m_outline = false;
    QList<Item> m_items;
    QList<int> m_order;
};

// The key scale with the keys outside the playable range darkened.
class KeyboardDisplay : public QWidget
{
    Q_OBJECT

public:
    explicit KeyboardDisplay(const QPixmap &scale, QWidget *parent = nullptr);

    int start() const { return m_start; }
    int end() const { return m_end; }
    // x positions of the first bright pixel and the first dark one after the
    // range; -1, -1 darkens everything.
    void setRange(int start, int end);
    QColor shading() const { return m_shading; }

    QSize sizeHint() const override { return m_scale.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_scale;
    QColor m_shading{16, 16, 16, 128};
    int m_start = -1;
    int m_end = -1;
};

// Velocity scale, zone rectangles and key scale in one grid.
class ZonesDisplay : public QWidget
{
    Q_OBJECT

public:
    explicit ZonesDisplay(QWidget *parent = nullptr);

    RectsDisplay *rects() const { return m_rects; }
    KeyboardDisplay *keyboard() const { return m_keyboard; }

private:
    RectsDisplay *m_rects;
    KeyboardDisplay *m_keyboard;
};

// The zones' parameters that the graphic shows.
class ZonesDisplayData
{
public:
    struct Zone {
        std::unique_ptr<NumericParameter> lowNote, highNote, lowVelocity, highVelocity, enable;
    };

    explicit ZonesDisplayData(Brisel::RemoteControlManager &manager);
    void bind(WidgetHandler *handler);

    std::array<Zone, 4> zones;
    NumericParameter octavePosition;
    NumericParameter octave;
};

class ZonesDisplayHandler : public WidgetHandler
{
public:
    ZonesDisplayHandler(ZonesDisplay *display, ZonesDisplayData *data, Brisel::RemoteControlManager &manager);
    ~ZonesDisplayHandler() override;
    void update() override;
    // The playable range of the connected keyboard on the key scale.
    void updateRange();

    // A zone's rectangle in a display of the given size.
    static QRect zoneRect(QSize display, int lowNote, int highNote, int lowVelocity, int highVelocity);
    // The x range of a model's keys at an octave setting; -1, -1 for none.
    static std::pair<int, int> playableRange(int width, int model, int octave, bool postZone);

private:
    ZonesDisplay *m_display;
    std::unique_ptr<ZonesDisplayData> m_data;
    Brisel::RemoteControlManager &m_manager;
    Utils::ProxyObserver<ZonesDisplayHandler> m_rangeObserver;
};

class ZonesDisplayBuilder : public WidgetBuilder
{
public:
    ZonesDisplayBuilder(QWidget *parent, const QString &section, Brisel::RemoteControlManager &manager);

protected:
    QWidget *createWidget() override;
    void createData() override;
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    Brisel::RemoteControlManager &m_manager;
    ZonesDisplay *m_display = nullptr;
    ZonesDisplayData *m_data = nullptr;
    ZonesDisplayHandler *m_displayHandler = nullptr;
};
