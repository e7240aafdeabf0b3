#pragma once

#include <QByteArray>
#include <QString>

namespace mosaiq {

// What HttpRequest leaves for the caller; owned by the caller, reusable for several calls.
struct HttpResponse {
    // Status line and header lines of the final answer, CR LF separated. Keeps its former
    // value when no answer arrived.
    QString rawHeaders;
    // The body as received (still compressed when the server compressed it). In file mode the
    // bytes go to the file instead and this stays empty: see bodyLength and savedToFile.
    QByteArray body;
    QByteArray startMarker, endMarker;  // the request's markers, for DecodeResponseText
    bool compressed = false;            // rawHeaders contains "gzip" anywhere
    // Body bytes the last attempt received, before any marker trimming; in file mode the
    // size of what was streamed to the file.
    qint64 bodyLength = 0;
    // File mode: the target file now holds this attempt's body.
    bool savedToFile = false;
    // File mode: why an answer that arrived was not saved (a web page where a file was asked
    // for, a file that could not be written); empty when saved or when no answer came.
    QString fileProblem;
};

}  // namespace mosaiq
