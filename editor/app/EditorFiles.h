#pragma once

class FileOperations;

// The editor's file layer: patch and bank files in and out of the process's
// model, reporting to the user with message boxes.
namespace EditorFiles {

FileOperations &instance();

} // namespace EditorFiles
