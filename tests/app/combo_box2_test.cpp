#include "app/combo_box2.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

class HistoryBox : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* entry :
             {"QQ123456", "https://user.qzone.qq.com/8888", "http://weibo.com/x",
              "bbqQ"
              "kel?!oxff"
              "hidden tail"}) {
            box.AddEntry(QString::fromUtf8(entry));
        }
        box.show();
    }
    void Type(const QString& text) {
        for (const QChar ch : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(box.lineEdit(), &key);
        }
    }
    CComboBox2 box;
};

TEST_F(HistoryBox, TypingListsEntriesContainingTheTextInAnyCaseInLowerCase) {
    Type(QStringLiteral("qQ"));
    EXPECT_EQ(box.ListedTexts(), QStringList({QStringLiteral("qq123456"),
                                              QStringLiteral("https://user.qzone.qq.com/8888"),
                                              QStringLiteral("bbqq")}));
    // The typed text keeps its letter case and the caret stays at its end.
    EXPECT_EQ(box.currentText(), QStringLiteral("qQ"));
    EXPECT_EQ(box.lineEdit()->cursorPosition(), 2);
    Type(QStringLiteral("1"));
    EXPECT_EQ(box.ListedTexts(), QStringList{QStringLiteral("qq123456")});
    EXPECT_EQ(box.currentText(), QStringLiteral("qQ1"));
}

TEST_F(HistoryBox, NoMatchEmptiesTheListAndOpeningListsEveryEntry) {
    Type(QStringLiteral("zzz"));
    EXPECT_TRUE(box.ListedTexts().isEmpty());
    EXPECT_EQ(box.currentText(), QStringLiteral("zzz"));
    box.showPopup();
    EXPECT_EQ(box.ListedTexts().size(), 4);
    EXPECT_EQ(box.ListedTexts().constFirst(), QStringLiteral("QQ123456"));
    EXPECT_EQ(box.ListedTexts().constLast(), QStringLiteral("bbqQ"));
    EXPECT_EQ(box.currentText(), QStringLiteral("zzz"));
    box.hidePopup();
}

TEST_F(HistoryBox, PickingAnEntryTellsTheWindowTheNewText) {
    QString told;
    QObject::connect(&box, &CComboBox2::TextChangedByUser, [&told](const QString& t) { told = t; });
    box.showPopup();
    box.setCurrentIndex(2);
    emit box.textActivated(box.itemText(2));
    EXPECT_EQ(told, QStringLiteral("http://weibo.com/x"));
    EXPECT_EQ(box.currentText(), QStringLiteral("http://weibo.com/x"));
    box.hidePopup();
}

// The list that opens while typing ate the click on "获取相册" that was meant to close it.
TEST(HistoryBoxClick, AClickOutsideTheFilteredListStillReachesItsButton) {
    QWidget window;
    auto* box = new CComboBox2(&window);
    auto* button = new QPushButton(QStringLiteral("获取相册"), &window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(button);
    box->AddEntry(QStringLiteral("qq123"));
    window.show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });

    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(box->lineEdit(), &key);
    QWidget* popup = box->FilterPopup();
    ASSERT_TRUE(popup->isVisible());
    const QPointF onButton = button->mapToGlobal(button->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, popup->mapFromGlobal(onButton), onButton,
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &press);
    QCoreApplication::processEvents();
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace mosaiq
