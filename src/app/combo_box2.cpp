#include "app/combo_box2.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QMouseEvent>
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
        // Installed after the completer's own filter, so it sees the click first.
        m_filterPopup->popup()->installEventFilter(this);
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
    view()->window()->installEventFilter(this);
}

QWidget* CComboBox2::FilterPopup() const {
    return m_filterPopup->popup();
}

bool CComboBox2::eventFilter(QObject* watched, QEvent* event) {
    auto* popup = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::MouseButtonPress || popup == nullptr) {
        return QComboBox::eventFilter(watched, event);
    }
    const auto* press = static_cast<QMouseEvent*>(event);
    const QPoint global = press->globalPosition().toPoint();
    if (popup->rect().contains(popup->mapFromGlobal(global)) || press->button() != Qt::LeftButton) {
        return QComboBox::eventFilter(watched, event);
    }
    QWidget* top = window();
    auto* button = qobject_cast<QAbstractButton*>(top->childAt(top->mapFromGlobal(global)));
    // Where Qt hands the click on by itself, it must not come twice.
    const bool swallowed =
        popup == m_filterPopup->popup() || popup->testAttribute(Qt::WA_NoMouseReplay);
    if (swallowed && button != nullptr && button->isEnabled() && button->isVisible()) {
        QTimer::singleShot(0, button, &QAbstractButton::click);
    }
    return QComboBox::eventFilter(watched, event);
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
