#include "web/http_exchange.h"

#include "web/body_file.h"
#include "web/body_validity.h"
#include "web/cookie_hook.h"
#include "web/http_client.h"
#include "web/reach_record.h"
#include "web/response_decoding.h"
#include "web/tls_trust.h"

#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

namespace mosaiq {
namespace {

// Servers refuse request lines far shorter; a longer address only stalls until a time-out.
constexpr qsizetype kMaxAddressBytes = 32 * 1024;

using Clock = std::chrono::steady_clock;
constexpr int kMaxRedirects = 10;

struct CurlHandleCloser {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListCloser {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListCloser>;

std::mutex& ShareLock(curl_lock_data data) {
    static std::mutex locks[CURL_LOCK_DATA_LAST];
    return locks[data];
}

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    ShareLock(data).lock();
}

void UnlockShare(CURL*, curl_lock_data data, void*) {
    ShareLock(data).unlock();
}

// Name lookups and TLS sessions, shared by every thread's handle: the download thread and
// each album's new workers resume the sessions made before them instead of verifying the
// server's certificates again. (libcurl does not share connections between threads.)
CURLSH* SharedSessions() {
    static CURLSH* const share = [] {
        CURLSH* created = curl_share_init();
        if (created != nullptr) {
            curl_share_setopt(created, CURLSHOPT_LOCKFUNC, LockShare);
            curl_share_setopt(created, CURLSHOPT_UNLOCKFUNC, UnlockShare);
            curl_share_setopt(created, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
            curl_share_setopt(created, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        }
        return created;
    }();
    return share;
}

// One handle per thread, reset between requests: the reset keeps its connection cache, so
// keep-alive connections are reused.
CURL* ThreadHandle() {
    static std::once_flag globalInit;
    std::call_once(globalInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    thread_local std::unique_ptr<CURL, CurlHandleCloser> handle(curl_easy_init());
    if (handle) {
        curl_easy_reset(handle.get());
    }
    return handle.get();
}

// MOSAIQ_CONNECT_TO: "HOST:PORT" for every scheme, or "http=HOST:PORT,https=HOST:PORT".
QByteArray ParseConnectTo(const QString& value, QLatin1String scheme) {
    for (const QString& entry : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals < 0) {
            return entry.trimmed().toUtf8();
        }
        if (entry.left(equals).trimmed().compare(scheme, Qt::CaseInsensitive) == 0) {
            return entry.mid(equals + 1).trimmed().toUtf8();
        }
    }
    return {};
}

// Read at every request (tests and the demo site set it while the program runs), parsed once
// per value and thread.
QByteArray ConnectToFor(const QString& scheme) {
    struct Parsed {
        QByteArray value;
        QByteArray http;
        QByteArray https;
    };
    thread_local Parsed parsed;
    const QByteArray value = qgetenv("MOSAIQ_CONNECT_TO");
    if (value != parsed.value) {
        const QString text = QString::fromLocal8Bit(value).trimmed();
        parsed = {value, ParseConnectTo(text, QLatin1String("http")),
                  ParseConnectTo(text, QLatin1String("https"))};
    }
    return scheme == QLatin1String("https") ? parsed.https : parsed.http;
}

// The lines of a header text, split at any CR or LF (no line can smuggle in another header).
QStringList HeaderLines(const QString& headers) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= headers.size(); ++at) {
        if (at == headers.size() || headers[at] == u'\r' || headers[at] == u'\n') {
            if (at > start) {
                lines.append(headers.sliced(start, at - start));
            }
            start = at + 1;
        }
    }
    return lines;
}

bool HasHeader(const QStringList& lines, QLatin1String name) {
    for (const QString& line : lines) {
        if (line.startsWith(name, Qt::CaseInsensitive) && line.size() > name.size() &&
            (line[name.size()] == QLatin1Char(':') || line[name.size()] == QLatin1Char(' '))) {
            return true;
        }
    }
    return false;
}

// curl takes "Name:" with a blank value as "drop that header"; "Name;" is its way of
// sending it empty, as the caller wrote it.
QByteArray CurlHeaderLine(const QString& line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon > 0 && line.mid(colon + 1).trimmed().isEmpty()) {
        return line.left(colon).toUtf8() + ';';
    }
    return line.toUtf8();
}

// The caller's lines go out as written. A CR or LF inside a line would start a header of
// its own, so every one of them ends a line. Defaults curl would add and the caller did not
// ask for are switched off.
// The agent's header line, for the request and for a tunnel through a proxy.
const QByteArray& AgentLine(unsigned flags) {
    static const QByteArray kLines[] = {QByteArray("User-Agent: ") + kDefaultUserAgent,
                                        QByteArray("User-Agent: ") + kIeUserAgent};
    return kLines[(flags & IeAgent) ? 1 : 0];
}

HeaderList BuildHeaderList(const QString& headers, const QString& cookies,
                           const QByteArray& agentLine) {
    const QStringList lines = HeaderLines(headers);
    curl_slist* list = nullptr;
    // First, where curl would put its own; as a header line it costs curl half the work of
    // its user-agent option, which it prints into every request a character at a time.
    if (!HasHeader(lines, QLatin1String("User-Agent"))) {
        list = curl_slist_append(list, agentLine.constData());
    }
    for (const QString& line : lines) {
        list = curl_slist_append(list, CurlHeaderLine(line).constData());
    }
    // "Name:" drops the header curl would add by itself.
    for (const char* name : {"Accept:", "Expect:", "Content-Type:"}) {
        if (!HasHeader(lines, QLatin1String(name, qsizetype(strlen(name)) - 1))) {
            list = curl_slist_append(list, name);
        }
    }
    if (!cookies.isEmpty() && !HasHeader(lines, QLatin1String("Cookie"))) {
        list = curl_slist_append(list, ("Cookie: " + cookies).toUtf8().constData());
    }
    return HeaderList(list);
}

// The agent of a tunnel through a proxy (header lines of the request do not go there). Kept
// for the process: a handle may use it until the very end.
curl_slist* ProxyAgentLine(unsigned flags) {
    static curl_slist* const kLists[] = {
        curl_slist_append(nullptr, AgentLine(0).constData()),
        curl_slist_append(nullptr, AgentLine(IeAgent).constData()),
    };
    return kLists[(flags & IeAgent) ? 1 : 0];
}

// Where `text` first holds `what`, or -1 (a few hundred header bytes: memmem needs no set-up).
qsizetype FindIn(const QByteArray& text, std::string_view what) {
    const void* at = memmem(text.constData(), size_t(text.size()), what.data(), what.size());
    return at == nullptr ? -1 : static_cast<const char*>(at) - text.constData();
}

// Reads the decimal number after the exact-case "Content-Length:" label.
std::optional<qint64> DeclaredLength(const QByteArray& headers) {
    const qsizetype label = FindIn(headers, "Content-Length:");
    if (label < 0) {
        return std::nullopt;
    }
    qsizetype at = label + 15;
    while (at < headers.size() && (headers[at] == ' ' || headers[at] == '\t')) {
        ++at;
    }
    qint64 value = 0;
    bool any = false;
    for (; at < headers.size() && headers[at] >= '0' && headers[at] <= '9'; ++at) {
        value = value * 10 + (headers[at] - '0');
        any = true;
        if (value > (qint64(1) << 50)) {
            break;
        }
    }
    return any ? std::optional<qint64>(value) : std::nullopt;
}

// What the request line carries: spaces, control bytes and non-ASCII bytes of the path and
// query percent-encoded (UTF-8), as a browser does; existing escapes and the host stay as
// written. Sites hand out picture addresses with Chinese names and blanks in them.
QByteArray WireAddress(const QString& url) {
    const QByteArray bytes = url.toUtf8();
    const qsizetype scheme = bytes.indexOf("://");
    qsizetype at = scheme < 0 ? 0 : scheme + 3;
    while (at < bytes.size() && bytes[at] != '/' && bytes[at] != '?' && bytes[at] != '#') {
        ++at;
    }
    const auto needsEscape = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte >= 0x7F;
    };
    const char* const begin = bytes.constData();
    const char* const firstEscape = std::find_if(begin + at, begin + bytes.size(), needsEscape);
    if (firstEscape == begin + bytes.size()) {
        return bytes;  // most addresses: nothing to escape
    }
    QByteArray wire = bytes.left(firstEscape - begin);
    wire.reserve(bytes.size() + 16);
    static const char kHex[] = "0123456789ABCDEF";
    for (const char* c = firstEscape; c != begin + bytes.size(); ++c) {
        if (needsEscape(*c)) {
            const auto byte = static_cast<unsigned char>(*c);
            const char escaped[] = {'%', kHex[byte >> 4], kHex[byte & 0xF]};
            wire.append(escaped, 3);
        } else {
            wire.append(*c);
        }
    }
    return wire;
}

bool IsRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Streams a body through the start and end markers without rescanning what was searched.
class StreamingMarkers {
  public:
    StreamingMarkers(const QByteArray& start, const QByteArray& end) : m_start(start), m_end(end) {}
    // Returns true when the end marker arrived (the body is then cut before it).
    bool Apply(QByteArray& body) {
        if (!m_start.isEmpty()) {
            for (qsizetype at; (at = body.indexOf(m_start, m_startFrom)) >= 0;) {
                body.remove(0, at + m_start.size());
                m_startFrom = 0;
                m_endFrom = 0;
            }
            m_startFrom = qMax<qsizetype>(0, body.size() - m_start.size() + 1);
        }
        if (!m_end.isEmpty()) {
            const qsizetype at = body.indexOf(m_end, m_endFrom);
            if (at >= 0) {
                body.truncate(at);
                return true;
            }
            m_endFrom = qMax<qsizetype>(0, body.size() - m_end.size() + 1);
        }
        return false;
    }

  private:
    const QByteArray& m_start;
    const QByteArray& m_end;
    qsizetype m_startFrom = 0;
    qsizetype m_endFrom = 0;
};

struct Transfer {
    Transfer(HttpResponse& r, const RequestOptions& o, unsigned f)
        : response(r),
          options(o),
          flags(f),
          fileMode(!o.targetPath.isEmpty()),
          markers(o.startMarker, o.endMarker),
          validity(o.minBodyLength, o.retryMarker) {
        headerBytes.reserve(1024);  // room for a usual answer's header lines at once
    }

    HttpResponse& response;
    const RequestOptions& options;
    const unsigned flags;
    const bool fileMode;
    CURL* handle = nullptr;
    QString url;  // of the current hop

    // Current hop.
    QByteArray headerBytes;
    bool headersDone = false;
    bool discardBody = false;  // a redirect's or an error page's body
    QByteArray location;
    QList<QByteArray> setCookies;  // of the answer being read, stored when its head ends

    // Final answer.
    bool failed = false;  // size bounds or an error status
    bool endMarkerHit = false;
    qint64 received = 0;
    StreamingMarkers markers;
    BodyValidity validity;
    std::unique_ptr<BodyFile> file;
    QString fileError;  // why no file could be made
    Clock::time_point lastActivity = Clock::now();
    curl_off_t lastUploaded = 0;

    qint64 maxBytes() const { return qint64(options.maxSizeKb) * 1024; }
    qint64 minBytes() const { return qint64(options.minSizeKb) * 1024; }

    bool FinishHeaders();
    bool TakeBody(const char* data, size_t size);
};

bool Transfer::FinishHeaders() {
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 100 && status < 200) {
        return true;  // interim answer; the real one follows
    }
    headersDone = true;
    if (IsRedirect(status) && !location.isEmpty()) {
        discardBody = true;
        return true;
    }
    response.rawHeaders = QString::fromLatin1(headerBytes);
    response.compressed = FindIn(headerBytes, "gzip") >= 0;
    if (const std::optional<qint64> declared = DeclaredLength(headerBytes)) {
        if (*declared < minBytes() || (options.maxSizeKb != 0 && *declared > maxBytes()) ||
            (!fileMode && *declared > kMaxPageBytes)) {
            if (!fileMode && *declared > kMaxPageBytes) {
                NoteOversizedPage();
            }
            failed = true;
            return false;  // before any body byte is read
        }
    }
    if (response.compressed && (flags & UseCache)) {
        validity.InflateFirst();
    }
    if (fileMode) {
        if (status >= 400) {
            failed = true;
            return false;  // an error page is no picture
        }
        file = std::make_unique<BodyFile>(options.targetPath);
        if (!file->isOpen()) {
            fileError = file->errorText();
            file.reset();  // unwritable: the body is still read and judged
        }
    }
    return true;
}

bool Transfer::TakeBody(const char* data, size_t size) {
    if (discardBody) {
        return true;
    }
    received += qint64(size);
    response.bodyLength = received;
    if (fileMode) {
        validity.Feed(data, qsizetype(size));
        if (file) {
            file->Write(data, qint64(size));
        }
        if (options.maxSizeKb != 0 && received > maxBytes()) {
            failed = true;
            return false;
        }
        return true;
    }
    response.body.append(data, qsizetype(size));
    if (!response.compressed && markers.Apply(response.body)) {
        endMarkerHit = true;
        return false;  // the rest of the answer is not read
    }
    if (response.body.size() > kMaxPageBytes) {
        NoteOversizedPage();
        failed = true;
        return false;
    }
    if (options.maxSizeKb != 0 && response.body.size() > maxBytes()) {
        failed = true;
        return false;
    }
    return true;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    // Read in place: every answer passes here line by line.
    const QByteArrayView line(data, qsizetype(length));
    t->lastActivity = Clock::now();
    if (line.startsWith("HTTP/")) {
        t->headerBytes.resize(0);  // keeps its room for the next answer's lines
        t->location.clear();
        t->setCookies.clear();
    }
    if (line == "\r\n" || line == "\n") {
        t->headerBytes.append(line);
        StoreSetCookies(t->url, t->setCookies);
        t->setCookies.clear();
        return t->FinishHeaders() ? length : 0;
    }
    t->headerBytes.append(line);
    const void* colonAt = std::memchr(data, ':', length);
    const qsizetype colon = colonAt == nullptr ? -1 : static_cast<const char*>(colonAt) - data;
    if (colon > 0) {
        const QByteArrayView name = line.first(colon).trimmed();
        if (name.compare("set-cookie", Qt::CaseInsensitive) == 0) {
            t->setCookies.append(line.sliced(colon + 1).trimmed().toByteArray());
        } else if (name.compare("location", Qt::CaseInsensitive) == 0) {
            t->location = line.sliced(colon + 1).trimmed().toByteArray();
        }
    }
    return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastActivity = Clock::now();
    return t->TakeBody(data, size * count) ? size * count : 0;
}

// Per-step time-outs: waiting for the answer is bounded by connectTimeoutMs, each wait for
// body data by readTimeoutMs, both measured from the last byte that moved.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto* t = static_cast<Transfer*>(user);
    const Clock::time_point now = Clock::now();
    if (uploaded != t->lastUploaded) {
        t->lastUploaded = uploaded;
        t->lastActivity = now;
    }
    if (Aborted(t->options)) {
        return 1;
    }
    const uint32_t limitMs =
        t->headersDone ? t->options.readTimeoutMs : t->options.connectTimeoutMs;
    return now - t->lastActivity > std::chrono::milliseconds(limitMs) ? 1 : 0;
}

QString ResolveRedirect(const QString& base, const QByteArray& location) {
    const QUrl next = QUrl(base).resolved(QUrl::fromEncoded(location));
    const QString scheme = next.scheme().toLower();
    if (!next.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return {};
    }
    return next.toString(QUrl::FullyEncoded);
}

void ConfigureHop(CURL* h, Transfer& t, const QByteArray& url, const QString& verb,
                  const QByteArray& body, const HeaderList& headers, const QByteArray& connectTo,
                  curl_slist* connectList) {
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_SHARE, SharedSessions());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PROXYHEADER, ProxyAgentLine(t.flags));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    // Fewer, larger pieces through the callbacks, as the curl tool does.
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 102400L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                     long(qMax<uint32_t>(t.options.connectTimeoutMs, 1)));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, long(t.options.lowSpeedBytesPerSecond));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(t.options.lowSpeedSeconds));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!UseSharedTrust(h)) {
        const QByteArray caFile = qgetenv("MOSAIQ_CA_FILE");
        if (!caFile.isEmpty()) {
            curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
        }
    }
    if (!connectTo.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_CONNECT_TO, connectList);
        curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    }
    // No verb means GET, as with an empty verb on the original platform.
    const QByteArray method = verb.isEmpty() ? QByteArray("GET") : verb.toUpper().toLatin1();
    if (method == "HEAD") {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else if (!body.isEmpty() || method == "POST") {
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
        if (method != "POST") {
            curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.constData());
        }
    } else if (method != "GET") {
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.constData());
    }
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
}

// True when a reused connection failed before any answer came: the server had closed it.
bool StaleConnection(CURL* handle, CURLcode code, const Transfer& t) {
    if (code != CURLE_GOT_NOTHING && code != CURLE_SEND_ERROR && code != CURLE_RECV_ERROR) {
        return false;
    }
    long connects = -1;
    curl_easy_getinfo(handle, CURLINFO_NUM_CONNECTS, &connects);
    return connects == 0 && t.headerBytes.isEmpty() && !t.headersDone && t.received == 0;
}

// For the jobs' "cannot reach HOST": an answer of any status counts as reached.
void NoteReach(CURL* handle, CURLcode code, const QString& url) {
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status > 0) {
        NoteAnswer();
        return;
    }
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_ABORTED_BY_CALLBACK:  // the time-out of the wait for an answer
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            NoteUnreached(QUrl(url).host());
            break;
        default:
            break;
    }
}

}  // namespace

ExchangeOutcome RunExchange(HttpResponse& response, const RequestOptions& options, unsigned flags) {
    response.body.clear();
    response.startMarker = options.startMarker;
    response.endMarker = options.endMarker;
    response.compressed = false;
    response.bodyLength = 0;
    response.savedToFile = false;
    response.fileProblem.clear();

    ExchangeOutcome outcome;
    CURL* handle = ThreadHandle();
    if (handle == nullptr) {
        return outcome;
    }
    Transfer t(response, options, flags);
    t.handle = handle;
    QString url = options.url;
    QString verb = options.verb;
    QByteArray body = options.body;
    CURLcode code = CURLE_OK;
    bool staleRetried = false;
    for (int hop = 0;; ++hop) {
        const QUrl parsed(url);
        const QString scheme = parsed.scheme().toLower();
        if (!parsed.isValid() || parsed.host().isEmpty() ||
            (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            return outcome;
        }
        t.url = url;
        t.headerBytes.resize(0);
        t.headersDone = false;
        t.discardBody = false;
        t.location.clear();
        t.lastActivity = Clock::now();
        t.lastUploaded = 0;

        const QByteArray connectTo = ConnectToFor(scheme);
        const QByteArray connectEntry = "::" + connectTo;
        HeaderList connectList(
            connectTo.isEmpty() ? nullptr : curl_slist_append(nullptr, connectEntry.constData()));
        const HeaderList headers =
            BuildHeaderList(options.headers, CookiesFor(url), AgentLine(flags));
        const QByteArray encodedUrl = WireAddress(url);
        if (encodedUrl.size() > kMaxAddressBytes) {
            qWarning("Address of %lld bytes not sent: too long for a server to take",
                     qlonglong(encodedUrl.size()));
            return outcome;
        }
        if (hop > 0) {
            curl_easy_reset(handle);
        }
        ConfigureHop(handle, t, encodedUrl, verb, body, headers, connectTo, connectList.get());
        code = curl_easy_perform(handle);
        if (StaleConnection(handle, code, t) && !staleRetried) {
            // The server closed the kept-alive connection just as it was reused: the request
            // never reached it, so it goes once more on a new connection.
            staleRetried = true;
            curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, 1L);
            t.lastActivity = Clock::now();
            code = curl_easy_perform(handle);
            curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, 0L);
        }

        if (code != CURLE_OK || !t.discardBody || hop == kMaxRedirects) {
            break;
        }
        const QString next = ResolveRedirect(url, t.location);
        if (next.isEmpty()) {
            break;
        }
        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        // As browsers do: a POST answered by 301, 302 or 303 is followed by a plain GET.
        if (status != 307 && status != 308 &&
            verb.compare(QLatin1String("HEAD"), Qt::CaseInsensitive) != 0) {
            verb = QStringLiteral("GET");
            body.clear();
        }
        url = next;
    }

    NoteReach(handle, code, url);
    const bool complete = (code == CURLE_OK && !t.discardBody) || t.endMarkerHit;
    // A stopped job writes no file, also when its last byte had just arrived.
    if (!complete || t.failed || Aborted(options)) {
        return outcome;  // an uncommitted body file removes itself
    }
    const qint64 size = t.fileMode ? t.received : response.body.size();
    if (size < t.minBytes() || (options.maxSizeKb != 0 && size > t.maxBytes())) {
        return outcome;
    }
    outcome.succeeded = true;
    if (!t.fileMode) {
        t.validity.Feed(response.body.constData(), response.body.size());
    }
    outcome.valid = t.validity.valid();
    outcome.inflatedNothing = t.validity.inflatedNothing();
    if (!t.fileMode || !outcome.valid) {
        return outcome;
    }
    if (t.validity.looksLikePage()) {
        outcome.valid = false;
        response.fileProblem = QStringLiteral("服务器返回的是网页，不是文件");
        return outcome;
    }
    if (t.file) {
        response.savedToFile = t.file->Commit();
        t.fileError = t.file->errorText();
    }
    if (!response.savedToFile) {
        response.fileProblem = QStringLiteral("无法写入文件: ") + t.fileError;
    }
    return outcome;
}

}  // namespace mosaiq
