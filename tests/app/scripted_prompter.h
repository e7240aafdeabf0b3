#pragma once

#include "app/prompter.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

namespace mosaiq::test {

// Answers the window's questions from a script and records what was shown.
class ScriptedPrompter : public Prompter {
  public:
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;  // false once they run out
    QString saveFileName;      // empty: the save dialog is cancelled
    QString folderName;        // empty: the folder picker is cancelled
    // Runs in place of a modal dialog; the default cancels it.
    std::function<int(QDialog&)> onDialog;
    int dialogsRun = 0;

    void Message(QWidget*, const QString& text, const QString&) override { messages << text; }
    bool YesNo(QWidget*, const QString& text, const QString&) override {
        questions << text;
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return saveFileName; }
    QString FolderName(QWidget*, const QString&, const QString& start) override {
        folderStarts << start;
        return folderName;
    }
    QStringList folderStarts;
    int Run(QDialog& dialog) override {
        ++dialogsRun;
        return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
    }
};

}  // namespace mosaiq::test
