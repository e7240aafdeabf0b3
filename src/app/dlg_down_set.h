#pragma once

#include "core/settings_record.h"

#include <QDialog>

class QLineEdit;

namespace mosaiq {

class Prompter;

// "下载参数设置" of the current site. "确 定" stores valid values into the slot and closes
// with OK; invalid ones give "参数错误" and the dialog stays open with the slot unchanged.
class CDlgDownSet : public QDialog {
    Q_OBJECT

  public:
    CDlgDownSet(DownloadSlot& slot, Prompter& prompter, QWidget* parent);

    QLineEdit* threadEdit() const { return m_threads; }
    QLineEdit* timeoutEdit() const { return m_timeout; }
    QLineEdit* minSizeEdit() const { return m_minSize; }
    QLineEdit* maxSizeEdit() const { return m_maxSize; }
    void ConfirmClicked();

  private:
    DownloadSlot& m_slot;
    Prompter& m_prompter;
    QLineEdit* m_threads;
    QLineEdit* m_timeout;
    QLineEdit* m_minSize;
    QLineEdit* m_maxSize;
};

}  // namespace mosaiq
