#pragma once

#include "site_test.h"

#include "core/settings_record.h"
#include "sites/album_list_dispatch.h"
#include "web/codepage.h"

namespace mosaiq::test {

// The site test of the shop and product sites: their pages are GBK, their requests are
// told apart by the language, charset and referer headers, and they leave files for the
// author in the data folder.
class ShopSiteTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Accept-Language"),
                         QStringLiteral("Accept-Charset"), QStringLiteral("Referer")};
    }

    static Reply Gbk(const QString& html) { return Text(TextToGbk(html)); }

    // The album-list job's dispatch for site type `type`; true when it asked for the
    // download to start by itself.
    bool List(SiteType type, const QString& input) {
        state.m_listType = SiteTypeValue(type);
        bool singleItem = false;
        DispatchAlbumList(state, input, singleItem);
        return singleItem;
    }

    void SetOption(SiteType type, uint16_t bit) {
        NamingOf(state.m_settings, SiteTypeValue(type)).options |= bit;
    }

    // A UTF-16LE file after its byte-order mark; a null text when it is missing or has no mark.
    QString DataFile(const QString& name) const {
        QFile file(dataDir() + name);
        if (!file.open(QIODevice::ReadOnly)) {
            return QString();
        }
        const QByteArray bytes = file.readAll();
        if (!bytes.startsWith("\xFF\xFE")) {
            return QString();
        }
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    }

    QString FixtureText(const QString& name) const { return AnsiToText(Fixture(name)); }
};

}  // namespace mosaiq::test
