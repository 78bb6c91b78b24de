#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QWidget>

class CZelButtonGroup;
class CZelAbstractButtonPrivate;

// The base of the skinned buttons: press, release, click, check state,
// auto-repeat, animated clicks, shortcuts and exclusive groups.
class CZelAbstractButton : public QWidget
{
    Q_OBJECT

public:
    explicit CZelAbstractButton(QWidget *parent = nullptr);
    ~CZelAbstractButton() override;

    QString text() const;
    void setText(const QString &text);
    QIcon icon() const;
    void setIcon(const QIcon &icon);
    QSize iconSize() const;
    void setIconSize(const QSize &size); // -1 in either dimension: the style's small icon size
    QKeySequence shortcut() const;
    void setShortcut(const QKeySequence &key);

    bool isCheckable() const;
    void setCheckable(bool checkable);
    bool isChecked() const;
    bool isDown() const;
    void setDown(bool down);
    bool autoRepeat() const;
    void setAutoRepeat(bool autoRepeat);
    bool autoExclusive() const;
    void setAutoExclusive(bool autoExclusive);
    CZelButtonGroup *group() const;

public slots:
    void click();
    void animateClick(int milliseconds = 100);
    void setChecked(bool checked);
    void toggle();

signals:
    void pressed();
    void released();
    void clicked(bool checked = false);
    void toggled(bool checked);

protected:
    virtual bool hitButton(const QPoint &point) const;
    virtual void checkStateSet();
    virtual void nextCheckState();

    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class CZelButtonGroup;
    friend class CZelAbstractButtonPrivate;
    std::unique_ptr<CZelAbstractButtonPrivate> d;
};
