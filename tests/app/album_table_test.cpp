#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/dlg_find.h"
#include "core/album_sink.h"
#include "support/fixture_server.h"
#include "web/codepage.h"
#include "window_fixture.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <thread>

namespace mosaiq::test {
namespace {

class AlbumTable : public WindowTest {
  protected:
    QString Title(int row) const { return window->albumModel()->index(row, 1).data().toString(); }
    int SelectedRow() const {
        const std::vector<int> albums = window->controls().table->SelectedAlbums();
        return albums.size() == 1 ? albums[0] : -1;
    }
    CDlgFind* OpenSearch(const QString& keyword) {
        window->OnFind();
        CDlgFind* find = window->findDialog();
        find->keywordEdit()->setText(keyword);
        return find;
    }
};

TEST_F(AlbumTable, ListViewShowsTheSixColumnsWithTheRecordIndexAsItemData) {
    AddAlbums({QStringLiteral("Spring"), QString(130, u'x')});
    ST_PERLISTRECORD locked;
    locked.title = QStringLiteral("spring");
    locked.accessFlags = kAccessEncrypted;
    AppendAndShow(window->state(), locked);
    Settle();
    const AlbumTableModel* model = window->albumModel();
    ASSERT_EQ(model->rowCount(), 3);
    ASSERT_EQ(model->columnCount(), 6);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("名称"));
    EXPECT_EQ(
        model->ListRowTexts(2),
        QStringList({QStringLiteral("0003"), QStringLiteral("spring (1)"), QStringLiteral("未知"),
                     QStringLiteral("加密相册"), QString(), QString()}));
    EXPECT_EQ(Title(1).size(), 120);
    EXPECT_EQ(model->index(2, 0).data(AlbumTableModel::kAlbumRole).toInt(), 2);
    EXPECT_TRUE(window->controls().table->isColumnHidden(4));
}

TEST_F(AlbumTable, SelectAllSelectsEveryRowInTableOrder) {
    AddAlbums({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    window->OnSelectAll(true);
    EXPECT_EQ(window->SelectedAlbums(), (std::vector<int>{0, 1, 2}));
    window->OnSelectAll(false);
    EXPECT_TRUE(window->SelectedAlbums().empty());
}

TEST_F(AlbumTable, SearchFindsNextAndPreviousAndWrapsAround) {
    AddAlbums({QStringLiteral("xABCy"), QStringLiteral("other"), QStringLiteral("abc"),
               QStringLiteral("more")});
    CDlgFind* find = OpenSearch(QStringLiteral(" abc "));
    EXPECT_TRUE(find->isVisible());
    find->nextButton()->click();
    EXPECT_EQ(SelectedRow(), 0);
    find->nextButton()->click();
    EXPECT_EQ(SelectedRow(), 2);
    find->nextButton()->click();  // past the last match: from the top again
    EXPECT_EQ(SelectedRow(), 0);
    find->previousButton()->click();  // nothing above: from the bottom
    EXPECT_EQ(SelectedRow(), 2);

    find->wholeWordBox()->setChecked(true);
    find->nextButton()->click();
    EXPECT_EQ(SelectedRow(), 2);  // "xABCy" is no whole-word match
    find->wholeWordBox()->setChecked(false);
    find->caseBox()->setChecked(true);
    find->keywordEdit()->setText(QStringLiteral("ABC"));
    find->nextButton()->click();
    EXPECT_EQ(SelectedRow(), 0);

    find->keywordEdit()->setText(QStringLiteral("missing"));
    find->nextButton()->click();
    EXPECT_EQ(SelectedRow(), 0);  // nothing found: nothing changes
    find->keywordEdit()->setText(QStringLiteral("   "));
    find->nextButton()->click();
    EXPECT_EQ(prompter->messages, QStringList{QStringLiteral("关键字不能为空")});

    find->closeButton()->click();
    EXPECT_FALSE(find->isVisible());
    EXPECT_EQ(window->findDialog(), find);  // kept for the next use, with its options
    window->OnFind();
    EXPECT_TRUE(find->caseBox()->isChecked());
}

TEST_F(AlbumTable, FilterKeepsMatchingTitlesForOneRebuild) {
    AddAlbums({QStringLiteral("Beach"), QStringLiteral("beach party"), QStringLiteral("City")});
    prompter->onDialog = [](QDialog& dialog) {
        auto& filter = dynamic_cast<CDlgFind&>(dialog);
        EXPECT_FALSE(filter.previousButton()->isVisibleTo(&filter));
        EXPECT_EQ(filter.nextButton()->text(), QStringLiteral("筛选"));
        filter.keywordEdit()->setText(QStringLiteral(" beach "));
        filter.nextButton()->click();
        return dialog.result();
    };
    window->OnFilter();
    ASSERT_EQ(window->albumModel()->rowCount(), 1);  // case-sensitive
    EXPECT_EQ(Title(0), QStringLiteral("beach party"));
    EXPECT_EQ(window->albumModel()->index(0, 0).data().toString(), QStringLiteral("0001"));
    EXPECT_TRUE(window->state().m_filterText.isEmpty());

    window->ApplyFilter(QStringLiteral("nowhere"));
    EXPECT_EQ(window->albumModel()->rowCount(), 0);
    window->ApplyFilter(QString());
    EXPECT_EQ(window->albumModel()->rowCount(), 3);
}

TEST_F(AlbumTable, ExportWritesTheTableWithOrWithoutAddresses) {
    AddAlbums({QStringLiteral("a,b"), QStringLiteral("say hi"), QStringLiteral("it's")});
    // Titles as a user might have them; the sink's cleaning would drop the quotes.
    window->state().m_records.At(1)->title = QStringLiteral("say \"hi\"");
    window->state().m_records.At(2)->title = QStringLiteral("it's");
    const QString target = saveDir() + QStringLiteral("albums.csv");
    prompter->saveFileName = target;
    prompter->answers = {true, false};

    window->OnExport();
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("0001,a','b,   3,,,,https://album.example/3,\r\n"
                                         "0002,say \"\"hi\"\",   6,,,,https://album.example/6,\r\n"
                                         "0003,its,   4,,,,https://album.example/4,\r\n"));
    file.close();
    ASSERT_EQ(prompter->questions.size(), 1);
    EXPECT_EQ(prompter->questions[0], QStringLiteral("是否导出相册网址?"));
    EXPECT_TRUE(prompter->messages[0].startsWith(QStringLiteral("此导出为导出表格内容")));

    window->OnExport();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("0001,a','b,   3,,,,\r\n"
                                         "0002,say \"\"hi\"\",   6,,,,\r\n"
                                         "0003,its,   4,,,,\r\n"));
    file.close();

    // Cancelling the save dialog writes nothing.
    QFile::remove(target);
    prompter->saveFileName.clear();
    window->OnExport();
    EXPECT_FALSE(QFile::exists(target));
}

QByteArray PngBytes(QColor colour) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST_F(AlbumTable, PreviewSwitchBuildsTheThumbnailGridOffTheUiThread) {
    FixtureServer server;
    Reply cover;
    cover.body = PngBytes(Qt::red);
    server.Route("img.example.com", "/cover.png", cover);
    Reply missing;
    missing.status = 404;
    server.Route("img.example.com", "/missing.png", missing);
    for (int i = 0; i < 7; ++i) {
        ST_PERLISTRECORD record;
        record.title = QStringLiteral("album%1").arg(i);
        if (i < 2) {
            record.coverUrl =
                QStringLiteral("http://img.example.com/%1")
                    .arg(i == 0 ? QStringLiteral("cover.png") : QStringLiteral("missing.png"));
        }
        AppendAndShow(window->state(), record);
    }
    // A cover left by an earlier list must not show for the album now at that place.
    QDir(dataDir()).mkpath(QStringLiteral("tmp"));
    QFile stale(ThumbnailPath(dataDir(), 1));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(PngBytes(Qt::blue));
    stale.close();

    window->controls().preview->click();
    while (window->LoaderRunning()) {
        Settle();
    }
    const AlbumTableModel* model = window->albumModel();
    ASSERT_TRUE(model->IsPreview());
    EXPECT_EQ(model->rowCount(), 2);  // record 6 starts the second row
    EXPECT_EQ(model->columnCount(), 6);
    EXPECT_EQ(model->index(0, 2).data().toString(), QStringLiteral("3.album2"));
    EXPECT_EQ(model->index(1, 0).data(AlbumTableModel::kAlbumRole).toInt(), 6);
    EXPECT_EQ(model->index(1, 1).data(AlbumTableModel::kAlbumRole).toInt(), -1);
    const QImage thumbnail = model->index(0, 0).data(Qt::DecorationRole).value<QImage>();
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.size(), QSize(113, 120));
    EXPECT_EQ(thumbnail.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_TRUE(model->index(0, 1).data(Qt::DecorationRole).isNull());
    EXPECT_FALSE(window->controls().findLink->isEnabled());
    EXPECT_FALSE(window->controls().filterLink->isEnabled());
    EXPECT_EQ(server.Count("img.example.com", "/cover.png"), 1);
    // A cover that fails is asked for once per switch, not once more by the window.
    EXPECT_EQ(server.Count("img.example.com", "/missing.png"), 1);

    // Back to the list: every album again, no cover fetched twice on the next switch.
    window->controls().preview->click();
    while (window->LoaderRunning()) {
        Settle();
    }
    EXPECT_FALSE(model->IsPreview());
    EXPECT_EQ(model->rowCount(), 7);
    EXPECT_TRUE(window->controls().findLink->isEnabled());
    window->controls().preview->click();
    while (window->LoaderRunning()) {
        Settle();
    }
    EXPECT_EQ(server.Count("img.example.com", "/cover.png"), 1);
}

TEST_F(AlbumTable, ACoverOfAnEarlierListingLandsOnNoRowOfTheNewOne) {
    AddAlbums({QStringLiteral("a")});
    window->controls().preview->click();
    while (window->LoaderRunning()) {
        Settle();
    }
    const auto writeCover = [this](QColor colour) {
        QFile file(ThumbnailPath(dataDir(), 0));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(PngBytes(colour));
    };
    // Handed on by a cover thread just before a new listing began; it reaches the UI thread
    // after.
    CoverPool& covers = window->state().m_covers;
    const uint64_t earlier = covers.Listing();
    writeCover(Qt::blue);
    std::thread([&] { window->ThumbnailReady(0, ThumbnailPath(dataDir(), 0), earlier); }).join();
    covers.NewListing();
    Settle();
    const AlbumTableModel* model = window->albumModel();
    EXPECT_TRUE(model->index(0, 0).data(Qt::DecorationRole).isNull());
    EXPECT_EQ(window->state().m_records.At(0)->thumbIndex, -1);

    writeCover(Qt::red);
    std::thread([&] {
        window->ThumbnailReady(0, ThumbnailPath(dataDir(), 0), covers.Listing());
    }).join();
    Settle();
    const QImage shown = model->index(0, 0).data(Qt::DecorationRole).value<QImage>();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_EQ(window->state().m_records.At(0)->thumbIndex, 0);
}

TEST_F(AlbumTable, SwitchingWhileTheLoaderRunsAsksAndKeepsTheBox) {
    AddAlbums({QStringLiteral("a")});
    window->state().m_thumbState = 1;  // a loader at work
    prompter->answers = {true};
    window->controls().preview->click();
    EXPECT_EQ(prompter->questions, QStringList{QStringLiteral("模式转换未完成,是否中断?")});
    EXPECT_FALSE(window->controls().preview->isChecked());
    EXPECT_EQ(window->state().m_thumbState.load(), 2);

    // Back in list view the filter link is live while the loader still fills the table: the
    // filter waits for it instead of rebuilding the rows under its feet.
    window->OnFilter();
    EXPECT_EQ(prompter->dialogsRun, 0);
    EXPECT_EQ(prompter->messages,
              QStringList{QStringLiteral("预览图模式转换未完成，请稍候再筛选")});
    EXPECT_EQ(window->albumModel()->rowCount(), 1);
    window->state().m_thumbState = 0;
}

}  // namespace
}  // namespace mosaiq::test
