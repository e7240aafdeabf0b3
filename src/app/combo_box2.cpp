#include "app/combo_box2.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QTimer>

namespace mosaiq {

CComboBox2::CComboBox2(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(12);
    // The filtered list opens as a completer popup: unlike the combo's own popup it leaves
    // the keyboard with the edit, so typing goes on while the list is open.
    m_filterPopup = new QCompleter(model(), this);
    m_filterPopup->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_filterPopup->setWidget(lineEdit());
    lineEdit()->setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CComboBox2::OnTextEdited);
    connect(m_filterPopup, qOverload<const QString&>(&QCompleter::activated), this,
            &CComboBox2::OnEntryPicked);
    connect(this, &QComboBox::textActivated, this, &CComboBox2::OnEntryPicked);
}

void CComboBox2::AddEntry(const QString& entry) {
    m_entries.append(entry);
}

void CComboBox2::ClearEntries() {
    m_entries.clear();
}

QStringList CComboBox2::ListedTexts() const {
    QStringList texts;
    for (int i = 0; i < count(); ++i) {
        texts << itemText(i);
    }
    return texts;
}

void CComboBox2::SetListKeepingText(const QStringList& texts) {
    const QString text = lineEdit()->text();
    const int caret = lineEdit()->cursorPosition();
    const QSignalBlocker blocker(this);
    clear();
    addItems(texts);
    setCurrentIndex(-1);
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(caret);
}

void CComboBox2::OnTextEdited(const QString& text) {
    if (text.isEmpty()) {
        m_filterPopup->popup()->hide();
        emit TextChangedByUser(text);
        return;
    }
    const QString typed = text.toLower();
    QStringList listed;
    for (const QString& entry : m_entries) {
        const QString lowered = entry.toLower();
        if (lowered.contains(typed)) {
            const int separator = lowered.indexOf(Separator());
            listed << (separator < 0 ? lowered : lowered.left(separator));
        }
    }
    SetListKeepingText(listed);
    if (listed.isEmpty()) {
        m_filterPopup->popup()->hide();
    } else {
        m_filterPopup->complete();
    }
    emit TextChangedByUser(text);
}

void CComboBox2::OnEntryPicked(const QString& text) {
    lineEdit()->setText(text);
    emit TextChangedByUser(text);
}

void CComboBox2::showPopup() {
    m_filterPopup->popup()->hide();
    QStringList all;
    for (const QString& entry : m_entries) {
        const int separator = entry.indexOf(Separator());
        all << (separator < 0 ? entry : entry.left(separator));
    }
    SetListKeepingText(all);
    QComboBox::showPopup();
}

void CComboBox2::hidePopup() {
    QComboBox::hidePopup();
    // Later, so that a pick from the list is read before the list empties.
    QTimer::singleShot(0, this, [this] {
        if (!view()->isVisible()) {
            SetListKeepingText({});
        }
    });
}

}  // namespace mosaiq
