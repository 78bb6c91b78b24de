#pragma once

#include <QString>

// How the file layer reaches the user: the editor answers with message
// boxes, the command-line tool with text.
class FileFeedback
{
public:
    virtual ~FileFeedback() = default;

    // A file could not be loaded (a critical message with an empty title
    // and an OK button in the editor).
    virtual void reportInvalidFile(const QString &text) = 0;
    // A file loaded, but the user should know something about it (the
    // status bar in the editor, a warning in the command-line tool).
    virtual void reportNotice(const QString &text) = 0;
    // A file loaded into the bank but the controller did not take it all.
    virtual void reportLoadFailure(const QString &text) = 0;
    // Asked before a bank file replaces a bank with modified patches; the
    // user may save the bank first. False when the user wanted it saved and
    // it was not (the save was cancelled or failed): the load is abandoned.
    virtual bool askToSaveBank() = 0;
};
