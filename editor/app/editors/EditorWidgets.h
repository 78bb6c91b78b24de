#pragma once

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelLineEdit.h"
#include "editor/skin/CZelSlider.h"

#include <QValidator>

class QLabel;
class CZelPushButton;

namespace Brisel {
class RemoteControlManager;
}

// Holds the manager's live updates off from a press to its release, so a
// drag reaches the controller as one transfer when the control is let go.
class LiveHold
{
public:
    explicit LiveHold(Brisel::RemoteControlManager *manager) : m_manager(manager) {}
    ~LiveHold() { release(); }
    void press();
    void release();
    bool isHeld() const { return m_held; }

private:
    Brisel::RemoteControlManager *m_manager;
    bool m_held = false;
};

class Knob : public CZelDial
{
    Q_OBJECT

public:
    explicit Knob(Brisel::RemoteControlManager *manager, QWidget *parent = nullptr);

signals:
    // After a release and the send of what changed while held.
    void editFinished();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    LiveHold m_hold;
};

class Wheel : public CZelSlider
{
    Q_OBJECT

public:
    explicit Wheel(Brisel::RemoteControlManager *manager, QWidget *parent = nullptr);

signals:
    void editFinished();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    LiveHold m_hold;
};

// A skinned field over a background bitmap.
class LineEdit : public CZelLineEdit
{
    Q_OBJECT

public:
    explicit LineEdit(QWidget *parent = nullptr) : CZelLineEdit(parent) {}
};

// The CC-number field of a knob: in 3D MIDI mode its context menu lists the
// 3D parameters, and choosing one sets the CC number to its index.
class CCLineEdit : public LineEdit
{
    Q_OBJECT

public:
    explicit CCLineEdit(QWidget *parent = nullptr) : LineEdit(parent) {}

    bool has3DMenu() const { return m_3dMenu; }
    void set3DMenu(bool on) { m_3dMenu = on; }

signals:
    void select3DMIDIParameter(const QString &index);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool m_3dMenu = false;
};

// Admits only what a name field of the model stores unchanged: printable
// ASCII up to a length, minus the characters the model refuses.
class NameValidator : public QValidator
{
    Q_OBJECT

public:
    NameValidator(int maxLength, const QString &refused, QObject *parent = nullptr);
    State validate(QString &input, int &position) const override;

    // The patch name: 16 characters without " * / : < > ? \ |
    static NameValidator *forPatchName(QObject *parent);
    // A control name: 8 characters.
    static NameValidator *forControlName(QObject *parent);

private:
    int m_maxLength;
    QString m_refused;
};

// The widget factories: every widget gets the editor skin's style and its name.
namespace EditorWidgets {

Knob *knob(QWidget *parent, const QString &name, Brisel::RemoteControlManager *manager);
Wheel *wheel(QWidget *parent, const QString &name, Brisel::RemoteControlManager *manager);
CZelPushButton *toggleButton(QWidget *parent, const QString &name, const QString &renderName);
CZelPushButton *pushButton(QWidget *parent, const QString &name, const QString &renderName);
CZelPushButton *led(QWidget *parent, const QString &name, const QString &renderName);

struct FieldLook {
    QString image;
    QString disabledImage; // empty: the image
    int maxLength = 3;
    int points = 8;
    bool mask = true;
};

CCLineEdit *ccLineEdit(QWidget *parent, const QString &name, const FieldLook &look);
LineEdit *lineEdit(QWidget *parent, const QString &name, const FieldLook &look);
// A field for a name: the click that focuses it selects the whole name.
LineEdit *nameLineEdit(QWidget *parent, const QString &name, const FieldLook &look);
QLabel *imageLabel(QWidget *parent, const QString &name, const QString &image);

// The field's palette over its bitmaps (white text, black on white selection).
void setLineEditLook(CZelLineEdit *edit, const FieldLook &look);
void setImageLabelImage(QLabel *label, const QString &image);

} // namespace EditorWidgets
