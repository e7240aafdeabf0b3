#include "app/dlg_down_set.h"

#include "app/prompter.h"
#include "core/settings_rules.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mosaiq {

CDlgDownSet::CDlgDownSet(DownloadSlot& slot, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_slot(slot), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("设置"));
    auto* group = new QGroupBox(QStringLiteral("下载参数设置"), this);
    auto* form = new QFormLayout(group);
    m_threads = new QLineEdit(group);
    m_timeout = new QLineEdit(group);
    m_minSize = new QLineEdit(group);
    m_maxSize = new QLineEdit(group);
    form->addRow(QStringLiteral("线程数(1~15)："), m_threads);
    form->addRow(QStringLiteral("超时(S, >=10)："), m_timeout);
    form->addRow(QStringLiteral("图片最小值(K)："), m_minSize);
    form->addRow(QStringLiteral("图片最大值(K)："), m_maxSize);
    auto* confirm = new QPushButton(QStringLiteral("确 定"), this);
    confirm->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(confirm, 0, Qt::AlignRight);

    const DownloadSettingsTexts shown = DownloadSettingsShown(slot);
    m_threads->setText(shown.threadCount);
    m_timeout->setText(shown.timeoutSec);
    m_minSize->setText(shown.minSizeK);
    m_maxSize->setText(shown.maxSizeK);
    connect(confirm, &QPushButton::clicked, this, &CDlgDownSet::ConfirmClicked);
}

void CDlgDownSet::ConfirmClicked() {
    const std::optional<DownloadSlot> parsed = ParseDownloadSettings(
        {m_threads->text(), m_timeout->text(), m_minSize->text(), m_maxSize->text()});
    if (!parsed) {
        m_prompter.Message(this, ParameterErrorText(), QStringLiteral("提示"));
        return;
    }
    m_slot = *parsed;
    accept();
}

}  // namespace mosaiq
