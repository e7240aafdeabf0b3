#include "app/dlg_save_set.h"

#include "app/prompter.h"
#include "core/settings_rules.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mosaiq {
namespace {

QButtonGroup* RadioRow(const QStringList& captions, QWidget* owner, QHBoxLayout* row) {
    auto* group = new QButtonGroup(owner);
    for (int id = 0; id < captions.size(); ++id) {
        auto* button = new QRadioButton(captions[id], owner);
        group->addButton(button, id);
        row->addWidget(button);
    }
    return group;
}

void CheckId(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
    }
}

}  // namespace

CDlgSaveSet::CDlgSaveSet(NamingEntry& entry, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_entry(entry), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("设置"));

    auto* names = new QGroupBox(QStringLiteral("文件名"), this);
    auto* namesGrid = new QGridLayout(names);
    m_picPrefix = new QLineEdit(names);
    m_picSuffix = new QLineEdit(names);
    m_replaceFrom = new QLineEdit(names);
    m_replaceTo = new QLineEdit(names);
    namesGrid->addWidget(new QLabel(QStringLiteral("前缀"), names), 0, 0);
    namesGrid->addWidget(m_picPrefix, 0, 1);
    namesGrid->addWidget(new QLabel(QStringLiteral("后缀"), names), 0, 2);
    namesGrid->addWidget(m_picSuffix, 0, 3);
    auto* sourceRow = new QHBoxLayout;
    m_nameSource = RadioRow(
        {QStringLiteral("描述"), QStringLiteral("序号"), QStringLiteral("网址")}, names, sourceRow);
    namesGrid->addLayout(sourceRow, 0, 4);
    namesGrid->addWidget(m_replaceFrom, 1, 1);
    namesGrid->addWidget(new QLabel(QStringLiteral("替换为"), names), 1, 2);
    namesGrid->addWidget(m_replaceTo, 1, 3);

    auto* album = new QGroupBox(QStringLiteral("相册路径(相册名)"), this);
    auto* albumGrid = new QGridLayout(album);
    m_albumPrefix = new QLineEdit(album);
    m_albumSuffix = new QLineEdit(album);
    albumGrid->addWidget(new QLabel(QStringLiteral("前缀"), album), 0, 0);
    albumGrid->addWidget(m_albumPrefix, 0, 1);
    albumGrid->addWidget(new QLabel(QStringLiteral("后缀"), album), 0, 2);
    albumGrid->addWidget(m_albumSuffix, 0, 3);
    auto* folderRow = new QHBoxLayout;
    m_albumFolder = RadioRow({QStringLiteral("相册名"), QStringLiteral("无")}, album, folderRow);
    albumGrid->addLayout(folderRow, 0, 4);

    auto* help = new QLabel(QStringLiteral("<a href=\"#\">前后缀说明</a>"), this);
    help->setObjectName(QStringLiteral("namingHelpLink"));
    auto* confirm = new QPushButton(QStringLiteral("确 定"), this);
    confirm->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(help);
    bottom->addStretch();
    bottom->addWidget(confirm);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(names);
    layout->addWidget(album);
    layout->addLayout(bottom);

    const SaveSettingsInput shown = SaveSettingsShown(entry);
    m_picPrefix->setText(shown.picPrefix);
    m_picSuffix->setText(shown.picSuffix);
    m_replaceFrom->setText(shown.replaceFrom);
    m_replaceTo->setText(shown.replaceTo);
    m_albumPrefix->setText(shown.albumPrefix);
    m_albumSuffix->setText(shown.albumSuffix);
    CheckId(m_nameSource, shown.picNameSource);
    CheckId(m_albumFolder, shown.albumFolder);

    connect(help, &QLabel::linkActivated, this, &CDlgSaveSet::HelpClicked);
    connect(confirm, &QPushButton::clicked, this, &CDlgSaveSet::ConfirmClicked);
}

void CDlgSaveSet::ConfirmClicked() {
    SaveSettingsInput input;
    input.picPrefix = m_picPrefix->text();
    input.picSuffix = m_picSuffix->text();
    input.replaceFrom = m_replaceFrom->text();
    input.replaceTo = m_replaceTo->text();
    input.albumPrefix = m_albumPrefix->text();
    input.albumSuffix = m_albumSuffix->text();
    input.picNameSource = m_nameSource->checkedId();
    input.albumFolder = m_albumFolder->checkedId();
    if (!ApplySaveSettings(m_entry, input)) {
        m_prompter.Message(this, ParameterErrorText(), QStringLiteral("提示"));
        return;
    }
    accept();
}

void CDlgSaveSet::HelpClicked() {
    m_prompter.Message(this, NamingHelpText(), QStringLiteral("前后缀说明"));
}

}  // namespace mosaiq
