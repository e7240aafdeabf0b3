#include "app/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace mosaiq {
namespace {

// Plain text always: a site's message must not be read as markup (links, images, styles).
int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

void Prompter::Message(QWidget* parent, const QString& text, const QString& caption) {
    ShowBox(parent, QMessageBox::Information, caption, text, QMessageBox::Ok);
}

bool Prompter::YesNo(QWidget* parent, const QString& text, const QString& caption) {
    return ShowBox(parent, QMessageBox::Question, caption, text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
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
