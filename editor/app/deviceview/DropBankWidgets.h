#pragma once

#include "editor/app/deviceview/LineEdit2.h"

#include <QLabel>

class BankFileDrop;

// The label and the field of the bank name take a dropped bank file like the
// device view around them.
class DropBankLabel : public QLabel
{
    Q_OBJECT

public:
    DropBankLabel(const QString &text, const BankFileDrop &drop, QWidget *parent = nullptr);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    const BankFileDrop &m_drop;
};

class DropBankLineEdit : public LineEdit2
{
    Q_OBJECT

public:
    DropBankLineEdit(const BankFileDrop &drop, QWidget *parent = nullptr);

protected:
    // Only bank files: a dragged text is not typed into the name.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    const BankFileDrop &m_drop;
};
