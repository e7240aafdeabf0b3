#pragma once

#include "sites/site_request.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace mosaiq {

struct JobState;

// What the shop and product sites share: one product becomes one album, its page kept in
// m_jobText1 between the list and the download, its main pictures named "主图_%03d".

// The current site's option "只下载宝贝(商品)描述里的图片".
bool DescriptionPicturesOnly(const JobState& state);

// "主图_%03d", after `prefix`.
QString MainPictureName(int n, const QString& prefix = QString());

// A product page of 1688, Alibaba and AliExpress: compressed, in Chinese, read as GBK.
SiteRequest ShopPageRequest(const QString& address);

// The page the album list kept; when there is none (a list loaded from a file), `request`
// fetched. Nothing when that fails or gives an empty text.
std::optional<QString> ProductPage(const JobState& state, const SiteRequest& request);

// Lists the product at `address` as the one album `title` (picture count unknown) and keeps
// `page` for the download.
void ListProduct(JobState& state, const QString& title, const QString& address,
                 const QString& page);

// How a product page shows its main pictures: each piece of the page after a `separator`
// holds one picture, sent with `referer` (a request-header text, empty for none) and named
// after `namePrefix` by the piece's number.
struct MainPictureList {
    QStringView separator;
    QString referer = QString();
    QString namePrefix = QString();
};

// Queues the main pictures of `page` for the album at `albumIndex`: `address` reads a piece's
// picture (empty: the piece holds none). False when the queue asked to stop.
bool QueueMainPictures(JobState& state, int albumIndex, const QString& page,
                       const MainPictureList& list,
                       const std::function<QString(const QString& piece)>& address);

// The album list found no product on the page (no title, no seller).
void TellNoProduct(JobState& state);

// Shown once the main pictures are queued, or instead of them when the option above is set:
// the description pictures are not downloaded by these sites, which the user must know
// rather than get an empty folder.
void TellMainPicturesDone(JobState& state);

}  // namespace mosaiq
