#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace mosaiq {

// The window's modal questions and pickers. The window and its dialogs ask through this so
// that tests can answer without a person.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void Message(QWidget* parent, const QString& text, const QString& caption);
    virtual bool YesNo(QWidget* parent, const QString& text, const QString& caption);
    // Empty when cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix);
    // Opens at `start` when it exists.
    virtual QString FolderName(QWidget* parent, const QString& title, const QString& start);
    // Runs a modal dialog; its result code.
    virtual int Run(QDialog& dialog);
};

}  // namespace mosaiq
