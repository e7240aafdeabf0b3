#include "app/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace mosaiq {

void Prompter::Message(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::information(parent, caption, text);
}

bool Prompter::YesNo(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString Prompter::SaveFileName(QWidget* parent, const QString& filter,
                               const QString& defaultSuffix) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString Prompter::FolderName(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

int Prompter::Run(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace mosaiq
