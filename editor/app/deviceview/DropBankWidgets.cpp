#include "editor/app/deviceview/DropBankWidgets.h"

#include "editor/app/deviceview/FileDrop.h"

#include <QDragMoveEvent>

DropBankLabel::DropBankLabel(const QString &text, const BankFileDrop &drop, QWidget *parent)
    : QLabel(text, parent), m_drop(drop)
{
    setAcceptDrops(true);
}

void DropBankLabel::dragEnterEvent(QDragEnterEvent *event) { m_drop.dragEnter(event); }

void DropBankLabel::dropEvent(QDropEvent *event) { m_drop.drop(event, this); }

DropBankLineEdit::DropBankLineEdit(const BankFileDrop &drop, QWidget *parent) : LineEdit2(parent), m_drop(drop)
{
    setAcceptDrops(true);
}

void DropBankLineEdit::dragEnterEvent(QDragEnterEvent *event) { m_drop.dragEnter(event); }

void DropBankLineEdit::dragMoveEvent(QDragMoveEvent *event)
{
    // The line edit's own handling would move its text cursor after the pointer.
    if (draggedBankFile(event->mimeData(), event->proposedAction()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropBankLineEdit::dropEvent(QDropEvent *event) { m_drop.drop(event, this); }
