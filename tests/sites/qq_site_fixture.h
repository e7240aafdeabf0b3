#pragma once

#include "site_test.h"

#include <QUrlQuery>

#include <vector>

namespace mosaiq::test {

// The site test over the QQ hosts, with the query and request lookups the QQ tests read.
class QqSiteTest : public SiteTest {
  protected:
    // Session cookies for every QQ host, as the login window leaves them.
    static void LogIn(const QList<QPair<QByteArray, QByteArray>>& pairs) {
        SiteTest::LogIn(QStringLiteral(".qq.com"), pairs);
    }

    static QString QueryItem(const RecordedRequest& request, const QString& name) {
        const QString target = request.target;
        return QUrlQuery(target.mid(target.indexOf(u'?') + 1))
            .queryItemValue(name, QUrl::FullyDecoded);
    }
    std::vector<RecordedRequest> RequestsTo(const QString& host, const QString& path) const {
        std::vector<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests()) {
            if (r.host == host && r.path == path) {
                found.push_back(r);
            }
        }
        return found;
    }
    QStringList Addresses() const {
        QStringList addresses;
        for (const PictureEntry& entry : g_pictureQueue().entries) {
            addresses << entry.address;
        }
        return addresses;
    }
};

}  // namespace mosaiq::test
