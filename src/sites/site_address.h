#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>

namespace mosaiq {

// One value put into an address template. Texts are percent-encoded as query and path values
// (a value from a page or the input cannot add a parameter, a path step or a fragment of its
// own); "%XX" escapes already in the text are kept, since values cut from an address arrive
// encoded. Verbatim() marks a text that is already an address part (another address, a
// stored query) and goes in unchanged.
class AddressValue {
  public:
    AddressValue(const QString& text);
    AddressValue(const char16_t* text);
    AddressValue(int number);
    AddressValue(int64_t number);
    AddressValue(uint32_t number);

    static AddressValue Verbatim(const QString& text);

    const QString& text() const { return m_text; }

  private:
    struct VerbatimTag {};
    AddressValue(const QString& text, VerbatimTag);
    QString m_text;
};

// `base` (scheme and host, "https://tieba.baidu.com") followed by `pathTemplate` whose "%s" and
// "%d" placeholders take `values` in order, as the sites' request tables are written:
//
//   SiteAddress(kTieba, u"/photo/g?kw=%s&alt=jview&pn=%d", {keyword, page})
QString SiteAddress(QStringView base, QStringView pathTemplate,
                    std::initializer_list<AddressValue> values);

// A text percent-encoded as a query or path value, "%XX" escapes kept.
QString EncodedValue(const QString& text);

}  // namespace mosaiq
