#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace mosaiq {

class AlbumTableView;
class Prompter;

// "相册搜索": modeless search window over the album table (search mode) or the modal
// keyword question of the filter (filter mode). Dragged by a press anywhere on it.
class CDlgFind : public QDialog {
    Q_OBJECT

  public:
    enum Mode { kFilterMode = 0, kSearchMode = 1 };

    CDlgFind(Mode mode, AlbumTableView* table, Prompter& prompter, QWidget* parent);

    // Shows the search controls and the window, centred on its parent.
    void ShowSearch();
    // The keyword of the last "筛选" press, trimmed.
    QString FilterKeyword() const { return m_filterKeyword; }

    QLineEdit* keywordEdit() const { return m_keyword; }
    QCheckBox* caseBox() const { return m_caseSensitive; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* previousButton() const { return m_previous; }
    QPushButton* closeButton() const { return m_close; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void SearchStep(bool forward);
    void OnDefaultButton();

    Mode m_mode;
    AlbumTableView* m_table;
    Prompter& m_prompter;
    QString m_filterKeyword;
    QPoint m_dragOffset;
    QLineEdit* m_keyword;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_wholeWord;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_close;
};

}  // namespace mosaiq
