#pragma once

#include "core/settings_record.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QLabel;

namespace mosaiq {

class Prompter;

// "文件名设置" of the current site: name prefixes, suffixes, the replacement pair and the
// two radio groups. "确 定" stores every text cut to 38 characters and closes with OK.
class CDlgSaveSet : public QDialog {
    Q_OBJECT

  public:
    CDlgSaveSet(NamingEntry& entry, Prompter& prompter, QWidget* parent);

    QLineEdit* picPrefixEdit() const { return m_picPrefix; }
    QLineEdit* picSuffixEdit() const { return m_picSuffix; }
    QLineEdit* replaceFromEdit() const { return m_replaceFrom; }
    QLineEdit* replaceToEdit() const { return m_replaceTo; }
    QLineEdit* albumPrefixEdit() const { return m_albumPrefix; }
    QLineEdit* albumSuffixEdit() const { return m_albumSuffix; }
    QButtonGroup* nameSourceGroup() const { return m_nameSource; }
    QButtonGroup* albumFolderGroup() const { return m_albumFolder; }
    void ConfirmClicked();
    void HelpClicked();

  private:
    NamingEntry& m_entry;
    Prompter& m_prompter;
    QLineEdit* m_picPrefix;
    QLineEdit* m_picSuffix;
    QLineEdit* m_replaceFrom;
    QLineEdit* m_replaceTo;
    QLineEdit* m_albumPrefix;
    QLineEdit* m_albumSuffix;
    QButtonGroup* m_nameSource;
    QButtonGroup* m_albumFolder;
};

}  // namespace mosaiq
