#pragma once

#include <QString>

class FileOperations;

// The editor's file layer: patch and bank files in and out of the process's
// model, reporting to the user with message boxes.
namespace EditorFiles {

FileOperations &instance();
// Opens a file by its suffix, through the load queue (so one handed over
// while a question is open waits for the answer), and says on the status bar
// that it was loaded. The load's result, or true when it waits.
bool open(const QString &path);

} // namespace EditorFiles
