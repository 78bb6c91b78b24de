#pragma once

#include "editor/skin/CZelAbstractButton.h"

class QMenu;
class CZelPushButtonPrivate;

// A push button painted by the render description named by its key.
class CZelPushButton : public CZelAbstractButton
{
    Q_OBJECT

public:
    explicit CZelPushButton(QWidget *parent = nullptr);
    ~CZelPushButton() override;

    QString key() const;
    // Names the render description; with the render style installed the
    // button takes the description's natural size.
    void setKey(const QString &key);

    bool isDefault() const;
    void setDefault(bool isDefault);
    bool autoDefault() const;
    void setAutoDefault(bool autoDefault);
    bool isFlat() const;
    void setFlat(bool flat);
    QMenu *menu() const;
    void setMenu(QMenu *menu);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void showMenu();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private slots:
    void popupPressed();

private:
    std::unique_ptr<CZelPushButtonPrivate> d;
};
