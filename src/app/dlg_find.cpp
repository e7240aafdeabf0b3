#include "app/dlg_find.h"

#include "app/album_search.h"
#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/prompter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace mosaiq {

CDlgFind::CDlgFind(Mode mode, AlbumTableView* table, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_mode(mode),
      m_table(table),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("CDlgFind"));
    setWindowTitle(QStringLiteral("相册搜索"));
    // No caption bar, so a thin frame shows where the window ends.
    setStyleSheet(QStringLiteral("mosaiq--CDlgFind { border: 1px solid palette(dark); }"));
    auto* title = new QLabel(QStringLiteral("相册搜索"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    m_close = new QPushButton(QStringLiteral("×"), this);
    m_close->setFlat(true);
    m_close->setFixedWidth(24);
    m_keyword = new QLineEdit(this);
    m_caseSensitive = new QCheckBox(QStringLiteral("区分大小写"), this);
    m_wholeWord = new QCheckBox(QStringLiteral("全字匹配"), this);
    m_previous = new QPushButton(QStringLiteral("上一个"), this);
    m_next = new QPushButton(
        mode == kSearchMode ? QStringLiteral("下一个") : QStringLiteral("筛选"), this);
    m_next->setDefault(true);
    m_keyword->setFocus();  // typed into at once, in either mode

    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0, 1, 3);
    layout->addWidget(m_close, 0, 3, Qt::AlignRight);
    layout->addWidget(new QLabel(QStringLiteral("关键字:"), this), 1, 0);
    layout->addWidget(m_keyword, 1, 1, 1, 3);
    layout->addWidget(m_caseSensitive, 2, 0, 1, 2);
    layout->addWidget(m_wholeWord, 2, 2, 1, 2);
    layout->addWidget(m_previous, 3, 1);
    layout->addWidget(m_next, 3, 2, 1, 2);

    const bool search = mode == kSearchMode;
    m_caseSensitive->setVisible(search);
    m_wholeWord->setVisible(search);
    m_previous->setVisible(search);
    connect(m_next, &QPushButton::clicked, this, &CDlgFind::OnDefaultButton);
    connect(m_previous, &QPushButton::clicked, this, [this] { SearchStep(false); });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (m_mode == kSearchMode) {
            hide();
        } else {
            reject();
        }
    });
}

void CDlgFind::ShowSearch() {
    m_caseSensitive->show();
    m_wholeWord->show();
    m_previous->show();
    m_next->setText(QStringLiteral("下一个"));
    show();
    adjustSize();
    if (parentWidget() != nullptr) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    raise();
    activateWindow();
    m_keyword->setFocus();
}

void CDlgFind::OnDefaultButton() {
    if (m_mode == kSearchMode) {
        SearchStep(true);
        return;
    }
    m_filterKeyword = m_keyword->text().trimmed();
    accept();
}

void CDlgFind::SearchStep(bool forward) {
    SearchRequest request;
    request.keyword = m_keyword->text().trimmed();
    if (request.keyword.isEmpty()) {
        m_prompter.Message(this, QStringLiteral("关键字不能为空"), QStringLiteral("提示"));
        return;
    }
    request.caseSensitive = m_caseSensitive->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    request.forward = forward;
    QAbstractItemModel* model = m_table->model();
    const auto cellText = [model](int row, int column) {
        return model->index(row, column).data(Qt::DisplayRole).toString();
    };
    const int row = FindAlbumRow(cellText, model->rowCount(), model->columnCount(),
                                 m_table->FocusedRow(), request);
    if (row >= 0) {
        m_table->SelectOnlyRow(row);
    }
}

void CDlgFind::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void CDlgFind::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
    QDialog::mouseMoveEvent(event);
}

}  // namespace mosaiq
