#include "editor/app/editors/EditorWidgets.h"

#include "editor/app/editors/EditorMenus.h"
#include "editor/app/editors/EditorSkin.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/SelectAllOnFocusClick.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalMapper>

void LiveHold::press()
{
    if (m_held || !m_manager)
        return;
    m_held = true;
    m_manager->setLive(false);
}

void LiveHold::release()
{
    if (!m_held)
        return;
    m_held = false;
    m_manager->setLive(true);
}

Knob::Knob(Brisel::RemoteControlManager *manager, QWidget *parent) : CZelDial(parent), m_hold(manager) {}

void Knob::mousePressEvent(QMouseEvent *event)
{
    m_hold.press();
    CZelDial::mousePressEvent(event);
    // A press the control does not take starts no drag, and its release may
    // go elsewhere.
    if (!event->isAccepted())
        m_hold.release();
}

void Knob::mouseReleaseEvent(QMouseEvent *event)
{
    CZelDial::mouseReleaseEvent(event);
    if (event->buttons() != Qt::NoButton || !m_hold.isHeld())
        return;
    m_hold.release();
    emit editFinished();
}

void Knob::hideEvent(QHideEvent *event)
{
    // A control hidden while held never sees its release.
    if (m_hold.isHeld()) {
        m_hold.release();
        emit editFinished();
    }
    CZelDial::hideEvent(event);
}

Wheel::Wheel(Brisel::RemoteControlManager *manager, QWidget *parent) : CZelSlider(parent), m_hold(manager) {}

void Wheel::mousePressEvent(QMouseEvent *event)
{
    m_hold.press();
    CZelSlider::mousePressEvent(event);
    // A press the control does not take starts no drag, and its release may
    // go elsewhere.
    if (!event->isAccepted())
        m_hold.release();
}

void Wheel::mouseReleaseEvent(QMouseEvent *event)
{
    CZelSlider::mouseReleaseEvent(event);
    if (event->buttons() != Qt::NoButton || !m_hold.isHeld())
        return;
    m_hold.release();
    emit editFinished();
}

void Wheel::hideEvent(QHideEvent *event)
{
    if (m_hold.isHeld()) {
        m_hold.release();
        emit editFinished();
    }
    CZelSlider::hideEvent(event);
}

void CCLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_3dMenu) {
        LineEdit::contextMenuEvent(event);
        return;
    }
    Midi3DParamNamesMenu menu;
    connect(menu.mapper(), &QSignalMapper::mappedString, this, &CCLineEdit::select3DMIDIParameter);
    menu.menu()->exec(event->globalPos());
}

NameValidator::NameValidator(int maxLength, const QString &refused, QObject *parent)
    : QValidator(parent), m_maxLength(maxLength), m_refused(refused)
{
}

QValidator::State NameValidator::validate(QString &input, int &) const
{
    if (input.size() > m_maxLength)
        return Invalid;
    for (const QChar c : input) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || m_refused.contains(c))
            return Invalid;
    }
    return Acceptable;
}

NameValidator *NameValidator::forPatchName(QObject *parent)
{
    return new NameValidator(16, QStringLiteral("\"*/:<>?\\|"), parent);
}

NameValidator *NameValidator::forControlName(QObject *parent) { return new NameValidator(8, QString(), parent); }

namespace EditorWidgets {

namespace {

template <typename W>
W *styled(W *widget, const QString &name)
{
    widget->setStyle(EditorSkin::instance().style());
    widget->setObjectName(name);
    return widget;
}

CZelPushButton *button(QWidget *parent, const QString &name, const QString &renderName, bool checkable)
{
    auto *button = styled(new CZelPushButton(parent), name);
    button->setKey(renderName);
    button->setCheckable(checkable);
    return button;
}

template <typename E>
E *field(E *edit, const QString &name, const FieldLook &look)
{
    styled(edit, name);
    setLineEditLook(edit, look);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaxLength(look.maxLength);
    edit->setFont(EditorSkin::font(look.points));
    return edit;
}

} // namespace

Knob *knob(QWidget *parent, const QString &name, Brisel::RemoteControlManager *manager)
{
    auto *knob = styled(new Knob(manager, parent), name);
    knob->setTrackKey(QStringLiteral("dial_track"));
    knob->setThumbKey(QStringLiteral("dial_thumb"));
    knob->setNotchesVisible(false);
    knob->setWrapping(false);
    knob->setRange(0, 127);
    return knob;
}

Wheel *wheel(QWidget *parent, const QString &name, Brisel::RemoteControlManager *manager)
{
    auto *wheel = styled(new Wheel(manager, parent), name);
    wheel->setGrooveKey(QStringLiteral("wheel_track"));
    wheel->setHandleKey(QStringLiteral("wheel_thumb"));
    wheel->setTickPosition(CZelSlider::NoTicks);
    wheel->setRange(0, 127);
    return wheel;
}

CZelPushButton *toggleButton(QWidget *parent, const QString &name, const QString &renderName)
{
    return button(parent, name, renderName, true);
}

CZelPushButton *pushButton(QWidget *parent, const QString &name, const QString &renderName)
{
    return button(parent, name, renderName, false);
}

CZelPushButton *led(QWidget *parent, const QString &name, const QString &renderName)
{
    CZelPushButton *led = button(parent, name, renderName, true);
    led->setEnabled(false);
    return led;
}

CCLineEdit *ccLineEdit(QWidget *parent, const QString &name, const FieldLook &look)
{
    return field(new CCLineEdit(parent), name, look);
}

LineEdit *lineEdit(QWidget *parent, const QString &name, const FieldLook &look)
{
    return field(new LineEdit(parent), name, look);
}

LineEdit *nameLineEdit(QWidget *parent, const QString &name, const FieldLook &look)
{
    return field(new SelectAllOnFocusClick<LineEdit>(parent), name, look);
}

QLabel *imageLabel(QWidget *parent, const QString &name, const QString &image)
{
    auto *label = styled(new QLabel(parent), name);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    setImageLabelImage(label, image);
    label->setFixedSize(EditorSkin::image(image).size());
    return label;
}

void setLineEditLook(CZelLineEdit *edit, const FieldLook &look)
{
    const QPixmap image = EditorSkin::image(look.image);
    const QPixmap disabled = look.disabledImage.isEmpty() ? image : EditorSkin::image(look.disabledImage);
    QPalette palette = edit->palette();
    palette.setBrush(edit->backgroundRole(), image);
    palette.setBrush(QPalette::Disabled, edit->backgroundRole(), disabled);
    palette.setBrush(QPalette::Disabled, QPalette::Window, disabled);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, Qt::white);
        palette.setColor(group, QPalette::Highlight, Qt::white);
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    edit->setPalette(palette);
    edit->setFixedSize(image.size());
    if (look.mask)
        edit->setMask(image.createHeuristicMask());
}

void setImageLabelImage(QLabel *label, const QString &image)
{
    QPalette palette = label->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setBrush(group, QPalette::Window, EditorSkin::image(image));
        palette.setColor(group, QPalette::WindowText, Qt::white);
    }
    label->setPalette(palette);
}

} // namespace EditorWidgets
