#include "tools/skin-gallery/PanelMockup.h"

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelLineEdit.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSkinEngine.h"
#include "editor/skin/CZelSlider.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace PanelMockup {
namespace {

constexpr const char *MissingKeys = "missingLayoutKeys";

class Builder
{
public:
    Builder(CZelSkinEngine &engine, CZelRenderStyle *style, QWidget *panel)
        : m_engine(engine), m_style(style), m_panel(panel)
    {
    }

    QPoint at(const QString &section, const QString &element = QString()) const
    {
        QPoint position = rect(section).topLeft();
        if (!element.isEmpty())
            position += rect(element).topLeft();
        return position;
    }

    // A key the layouts file lacks is kept on the panel for missingLayoutKeys().
    QRect rect(const QString &key) const
    {
        if (!m_engine.hasRect(key)) {
            const QStringList missing = m_panel->property(MissingKeys).toStringList();
            m_panel->setProperty(MissingKeys, QStringList(missing) << key);
        }
        return m_engine.rect(key);
    }

    template <typename W>
    W *place(W *widget, const QString &section, const QString &element = QString())
    {
        widget->setObjectName(element.isEmpty() ? section : section + QLatin1Char('/') + element);
        widget->move(at(section, element));
        return widget;
    }

    CZelPushButton *button(const QString &key, bool checkable, const QString &section,
                           const QString &element = QString())
    {
        auto *button = new CZelPushButton(m_panel);
        button->setStyle(m_style);
        button->setKey(key);
        button->setCheckable(checkable);
        return place(button, section, element);
    }

    QLineEdit *field(const QString &image, const QString &text, const QString &section,
                     const QString &element = QString(), int points = 8)
    {
        const QPixmap background(QStringLiteral(":/images/") + image);
        auto *edit = new CZelLineEdit(text, m_panel);
        edit->setStyle(m_style);
        edit->setFixedSize(background.size());
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFont(QFont(QStringLiteral("Lucida Console"), points));
        QPalette palette = edit->palette();
        palette.setBrush(edit->backgroundRole(), background);
        palette.setColor(QPalette::Text, Qt::white);
        edit->setPalette(palette);
        edit->setMask(background.createHeuristicMask());
        return place(edit, section, element);
    }

    QLabel *image(const QString &image, const QString &text, const QString &section, const QString &element = QString())
    {
        const QPixmap background(QStringLiteral(":/images/") + image);
        auto *label = new QLabel(text, m_panel);
        label->setFixedSize(background.size());
        label->setAlignment(Qt::AlignCenter);
        QPalette palette = label->palette();
        palette.setBrush(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
        return place(label, section, element);
    }

    CZelDial *knob(int value, const QString &section)
    {
        auto *dial = new CZelDial(m_panel);
        dial->setStyle(m_style);
        dial->setTrackKey(QStringLiteral("dial_track"));
        dial->setThumbKey(QStringLiteral("dial_thumb"));
        dial->setRange(0, 127);
        dial->setValue(value);
        return place(dial, section, QStringLiteral("KNOBCONTROL_KNOB"));
    }

    CZelSlider *wheel(int value, const QString &section)
    {
        auto *slider = new CZelSlider(m_panel);
        slider->setStyle(m_style);
        slider->setGrooveKey(QStringLiteral("wheel_track"));
        slider->setHandleKey(QStringLiteral("wheel_thumb"));
        slider->setRange(0, 127);
        slider->setValue(value);
        return place(slider, section, QStringLiteral("WHEELCONTROL_WHEEL"));
    }

    void top()
    {
        image(QStringLiteral("patchIndex.bmp"), QStringLiteral("7"), QStringLiteral("TOP_PATCHNUMBER"));
        auto *led = button(QStringLiteral("modifiedLED"), true, QStringLiteral("TOP_PATCHMODIFIED"));
        led->setChecked(true);
        led->setEnabled(false);
        button(QStringLiteral("storeButton"), false, QStringLiteral("TOP_PATCHSTORE"));
        field(QStringLiteral("patchName.bmp"), QStringLiteral("Strings & Pads"), QStringLiteral("TOP_PATCHNAME"),
              QString(), 10);
    }

    void knobGroup(const QString &section, int index, bool withMode)
    {
        field(QStringLiteral("controllerName.bmp"), QStringLiteral("Cutoff %1").arg(index), section,
              QStringLiteral("KNOBCONTROL_NAME"));
        field(QStringLiteral("controllerValue.bmp"), QString::number(index % 16 + 1), section,
              QStringLiteral("KNOBCONTROL_CHANNEL"));
        field(QStringLiteral("controllerValue.bmp"), QString::number(70 + index), section,
              QStringLiteral("KNOBCONTROL_CCNUMBER"));
        const int value = (index * 37) % 128;
        field(QStringLiteral("controllerValue2.bmp"), QString::number(value), section,
              QStringLiteral("KNOBCONTROL_VALUE"));
        knob(value, section);
        if (!withMode)
            return;
        static const char *modes[] = {"modeCC.bmp", "mode3DMIDI.bmp", "modeNRPN.bmp"};
        image(QString::fromLatin1(modes[index % 3]), QString(), section, QStringLiteral("KNOBCONTROL_MODE"));
        button(QStringLiteral("controllerMode"), false, section, QStringLiteral("KNOBCONTROL_MODEBUTTON"));
    }

    void wheelGroup(const QString &section, const QString &name, int value)
    {
        field(QStringLiteral("controllerName.bmp"), name, section, QStringLiteral("WHEELCONTROL_NAME"));
        field(QStringLiteral("controllerValue.bmp"), QStringLiteral("1"), section,
              QStringLiteral("WHEELCONTROL_CHANNEL"));
        field(QStringLiteral("controllerValue.bmp"), QStringLiteral("PW"), section,
              QStringLiteral("WHEELCONTROL_CCNUMBER"));
        field(QStringLiteral("controllerValue2.bmp"), QString::number(value), section,
              QStringLiteral("WHEELCONTROL_VALUE"));
        wheel(value, section);
    }

    void spin(const QString &section, const QString &text)
    {
        button(QStringLiteral("spinDec"), false, section, QStringLiteral("SPINCONTROL_DECREMENT"));
        field(QStringLiteral("settingValue.bmp"), text, section, QStringLiteral("SPINCONTROL_VALUE"));
        button(QStringLiteral("spinInc"), false, section, QStringLiteral("SPINCONTROL_INCREMENT"));
    }

private:
    CZelSkinEngine &m_engine;
    CZelRenderStyle *m_style;
    QWidget *m_panel;
};

QWidget *panel(const QString &background)
{
    auto *widget = new QWidget;
    const QPixmap image(QStringLiteral(":/images/") + background);
    widget->setFixedSize(image.size());
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window, image);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    return widget;
}

// The zones graphic: velocity scale, zone rectangles over a dark field, key scale.
QWidget *zonesDisplay(QWidget *parent)
{
    auto *display = new QWidget(parent);
    auto *grid = new QGridLayout(display);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    const QPixmap velocity(QStringLiteral(":/images/velscale.bmp"));
    const QPixmap keys(QStringLiteral(":/images/keyscale.bmp"));
    auto *velocityLabel = new QLabel(display);
    velocityLabel->setPixmap(velocity);
    QPixmap rects(keys.width(), velocity.height());
    rects.fill(QColor(53, 53, 53));
    {
        QPainter p(&rects);
        const struct {
            int low, high, lowVel, highVel;
            QColor color;
        } zones[] = {{36, 59, 0, 127, QColor(43, 255, 1, 128)},
                     {0, 47, 0, 127, QColor(2, 61, 254, 128)},
                     {60, 84, 64, 127, QColor(254, 192, 1, 128)},
                     {72, 127, 0, 63, QColor(252, 1, 1, 102)}};
        const int w = rects.width();
        const int h = rects.height();
        for (const auto &zone : zones) {
            const QRect r(QPoint(w * zone.low / 128, h - h * (zone.highVel + 1) / 128),
                          QPoint(w * (zone.high + 1) / 128 - 1, h - 1 - h * zone.lowVel / 128));
            p.fillRect(r, zone.color);
            p.setPen(QColor(20, 20, 20));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    auto *rectsLabel = new QLabel(display);
    rectsLabel->setPixmap(rects);
    auto *keysLabel = new QLabel(display);
    QPixmap shaded = keys;
    {
        QPainter p(&shaded);
        const int start = keys.width() * 36 / 128;
        const int end = keys.width() * 85 / 128;
        p.fillRect(QRect(0, 0, start, keys.height()), QColor(16, 16, 16, 128));
        p.fillRect(QRect(end, 0, keys.width() - end, keys.height()), QColor(16, 16, 16, 128));
    }
    keysLabel->setPixmap(shaded);
    grid->addWidget(velocityLabel, 0, 0);
    grid->addWidget(rectsLabel, 0, 1);
    grid->addWidget(keysLabel, 1, 1);
    display->adjustSize();
    return display;
}

} // namespace

QWidget *patchEditor(CZelSkinEngine &engine, CZelRenderStyle *style)
{
    QWidget *widget = panel(QStringLiteral("patchEditorBackground_active.bmp"));
    Builder b(engine, style, widget);
    b.top();
    for (int i = 1; i <= 16; ++i)
        b.knobGroup(QStringLiteral("CONTROLS_%1").arg(i), i, true);
    b.wheelGroup(QStringLiteral("CONTROLS_PITCHWHEEL"), QStringLiteral("Pitch"), 64);
    b.wheelGroup(QStringLiteral("CONTROLS_MODWHEEL"), QStringLiteral("Mod"), 20);
    b.knobGroup(QStringLiteral("CONTROLS_FOOTSWITCH"), 0, false);
    b.spin(QStringLiteral("SETTINGS_OCTAVE"), QStringLiteral("+1"));
    b.spin(QStringLiteral("SETTINGS_SEMITONE"), QStringLiteral("0"));
    for (const char *key :
         {"SETTINGS_NOTELATCHMODE", "SETTINGS_SAVEVALUES", "SETTINGS_LOADVALUES", "SETTINGS_ADVANCEDMODE"})
        b.button(QStringLiteral("checkButton"), true, QString::fromLatin1(key))->setChecked(key[9] != 'L');
    for (const char *key : {"SETTINGS_NOTELATCHLOWNOTE", "SETTINGS_NOTELATCHHIGHNOTE", "SETTINGS_16CHANNELMODECC",
                            "SETTINGS_CHANNELMODECHANNEL"})
        b.field(QStringLiteral("settingValue.bmp"), QStringLiteral("127"), QString::fromLatin1(key));
    for (int i = 1; i <= 8; ++i)
        b.button(QStringLiteral("velocityCurveButton%1").arg(i), true, QStringLiteral("VELOCITYCURVES_%1").arg(i))
            ->setChecked(i == 3);
    b.button(QStringLiteral("checkButton"), true, QStringLiteral("PROGRAMCHANGE_MASTERENABLE"))->setChecked(true);
    for (int i = 1; i <= 16; ++i) {
        const QString section = QStringLiteral("PROGRAMCHANGE_%1").arg(i);
        const bool on = i % 3 != 0;
        b.button(QStringLiteral("checkButton"), true, section, QStringLiteral("PROGRAMCHANGE_ENABLE"))->setChecked(on);
        for (const char *element : {"PROGRAMCHANGE_MSB", "PROGRAMCHANGE_LSB", "PROGRAMCHANGE_PROG"}) {
            QLineEdit *edit =
                b.field(on ? QStringLiteral("channel_active.bmp") : QStringLiteral("channel_disabled.bmp"),
                        QString::number(i * 7 % 128), section, QString::fromLatin1(element));
            edit->setEnabled(on);
            edit->clearMask();
        }
    }
    return widget;
}

QWidget *zonesEditor(CZelSkinEngine &engine, CZelRenderStyle *style)
{
    QWidget *widget = panel(QStringLiteral("zonesEditorBackground_active.bmp"));
    Builder b(engine, style, widget);
    b.top();
    b.place(zonesDisplay(widget), QStringLiteral("ZONES_DISPLAY"));
    b.button(QStringLiteral("zonesEnable"), true, QStringLiteral("ZONES_MASTERENABLE"))->setChecked(true);
    b.button(QStringLiteral("checkButton"), true, QStringLiteral("ZONES_PRE_ZONE"))->setChecked(true);
    b.button(QStringLiteral("checkButton"), true, QStringLiteral("ZONES_POST_ZONE"));
    const char *fields[] = {"ZONE_CHANNEL",     "ZONE_LOWNOTE",      "ZONE_HIGHNOTE",
                            "ZONE_LOWVELOCITY", "ZONE_HIGHVELOCITY", "ZONE_TRANSPOSE"};
    const char *toggles[] = {"ZONE_SENDPITCHWHEEL", "ZONE_SENDMODWHEEL",  "ZONE_SENDAFTERTOUCH",
                             "ZONE_SENDSUSTAIN",    "ZONE_NOTELATCHMODE", "ZONE_POST_ZONE_OCTAVE_TRANSPOSE"};
    for (int zone = 1; zone <= 4; ++zone) {
        const QString section = QStringLiteral("ZONE_%1").arg(zone);
        b.button(QStringLiteral("zone%1Enable").arg(zone), true, section, QStringLiteral("ZONE_ENABLE"))
            ->setChecked(zone != 3);
        for (const char *key : fields)
            b.field(QStringLiteral("controllerValue2.bmp"), QStringLiteral("%1").arg(zone * 24 + 12), section,
                    QString::fromLatin1(key));
        int n = 0;
        for (const char *key : toggles) {
            CZelPushButton *toggle = b.button(QStringLiteral("checkButton"), true, section, QString::fromLatin1(key));
            toggle->setChecked((zone + n++) % 2 == 0);
            toggle->setEnabled(n != 6);
        }
    }
    return widget;
}

QStringList missingLayoutKeys(const QWidget *panel) { return panel->property(MissingKeys).toStringList(); }

} // namespace PanelMockup
