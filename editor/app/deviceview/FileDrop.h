#pragma once

#include <QString>
#include <QtCore/qnamespace.h>

class FileOperations;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QWidget;

// Which local file a drag carries: only a copy or a move is considered, and
// the file must have the wanted suffix. Empty when there is no such file.
QString draggedBankFile(const QMimeData *data, Qt::DropAction proposed);  // exactly one URL
QString draggedPatchFile(const QMimeData *data, Qt::DropAction proposed); // the first of any number

// The bank-file drop shared by the device view and its bank-name label and
// field: a drag is accepted exactly when it carries one bank file, and a drop
// loads it into the bank.
class BankFileDrop
{
public:
    explicit BankFileDrop(FileOperations &files) : m_files(files) {}

    void dragEnter(QDragEnterEvent *event) const;
    // A load reports itself on the status bar through the widget dropped on.
    void drop(QDropEvent *event, QWidget *target) const;

private:
    FileOperations &m_files;
};
