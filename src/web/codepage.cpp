#include "web/codepage.h"

#include <unicode/ucnv.h>

#include <memory>

namespace mosaiq {
namespace {

const char* IcuName(int codePage) {
    switch (codePage) {
        case kCodePageAnsi:
        case kCodePageGbk:
            return "windows-936-2000";
        case kCodePageBig5:
            return "windows-950-2000";
        case kCodePageEucKr:
            return "EUC-KR";
        case kCodePageUtf8:
            return "UTF-8";
        default:
            return nullptr;
    }
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Opening a converter costs more than most conversions, so each thread keeps its own.
UConverter* ThreadConverter(int codePage) {
    thread_local Converter gbk, big5, euckr, utf8;
    Converter* slot = nullptr;
    switch (codePage) {
        case kCodePageAnsi:
        case kCodePageGbk:
            slot = &gbk;
            break;
        case kCodePageBig5:
            slot = &big5;
            break;
        case kCodePageEucKr:
            slot = &euckr;
            break;
        case kCodePageUtf8:
            slot = &utf8;
            break;
        default:
            return nullptr;
    }
    if (!*slot) {
        UErrorCode status = U_ZERO_ERROR;
        slot->reset(ucnv_open(IcuName(codePage), &status));
        if (U_FAILURE(status)) {
            slot->reset();
            return nullptr;
        }
    }
    ucnv_reset(slot->get());
    return slot->get();
}

}  // namespace

QString BytesToText(const char* bytes, qsizetype length, int codePage) {
    if (length <= 0 || bytes == nullptr) {
        return {};
    }
    UConverter* converter = ThreadConverter(codePage);
    if (converter == nullptr) {
        return {};
    }
    // Every byte yields at most two UTF-16 units (a supplementary character needs 4 bytes).
    QString text(length + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t produced = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()),
                                           int32_t(text.size()), bytes, int32_t(length), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return {};
    }
    text.truncate(produced);
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0) {
        text.truncate(zero);
    }
    return text;
}

QString AnsiToText(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return BytesToText(bytes.constData(), zero < 0 ? bytes.size() : zero, kCodePageAnsi);
}

QByteArray TextToGbk(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    UConverter* converter = ThreadConverter(kCodePageGbk);
    if (converter == nullptr) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter, "?", 1, &status);
    // GBK needs at most 2 bytes per UTF-16 unit; the margin covers substitutions.
    QByteArray bytes(text.size() * 4 + 1, Qt::Uninitialized);
    const int32_t produced = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                                             reinterpret_cast<const UChar*>(text.constData()),
                                             int32_t(text.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return {};
    }
    bytes.truncate(produced);
    return bytes;
}

}  // namespace mosaiq
