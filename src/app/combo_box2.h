#pragma once

#include <QComboBox>
#include <QStringList>

class QCompleter;

namespace mosaiq {

// A history box: an editable drop-down with its own entry list. Typing lists the entries
// that contain the typed text in any letter case (in lower case, as the filter compares);
// opening the drop-down lists every entry. The typed text is never changed by the list.
class CComboBox2 : public QComboBox {
    Q_OBJECT

  public:
    explicit CComboBox2(QWidget* parent = nullptr);

    // An entry may carry a hidden tail after this separator; only the head is listed.
    static QString Separator() { return QStringLiteral("kel?!oxff"); }

    void AddEntry(const QString& entry);
    void ClearEntries();
    const QStringList& Entries() const { return m_entries; }
    // What the drop-down list holds now.
    QStringList ListedTexts() const;

    void showPopup() override;
    void hidePopup() override;
    // The filtered list shown while typing (for tests).
    QWidget* FilterPopup() const;

  protected:
    // A click outside an open list closes the list and, as everywhere else, still reaches the
    // button it was meant for (both lists would swallow it).
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // The user typed (textEdited) or picked an entry; the text is the box's new text.
    void TextChangedByUser(const QString& text);

  private:
    void OnTextEdited(const QString& text);
    void OnEntryPicked(const QString& text);
    // Replaces the drop-down list, keeping the edit text and caret.
    void SetListKeepingText(const QStringList& texts);

    QStringList m_entries;
    QCompleter* m_filterPopup;
};

}  // namespace mosaiq
