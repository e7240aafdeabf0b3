// Walking a listing page with consuming TakeBetween must cost time proportional to the page:
// compare the time per MiB across page sizes, and against a plain indexOf scan of the same page.
#include "web/text_helpers.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace mosaiq {
namespace {

constexpr qsizetype kMiB = 1024 * 1024;
constexpr qsizetype kItemSpacing = 400;

// A page of `mebibytes` MiB of one-byte characters with one "<li>...</li>" item every 400.
QString MakePage(qsizetype mebibytes) {
    const qsizetype length = mebibytes * kMiB;
    QString item = QStringLiteral("<li class=\"album\"><a href=\"/album/123456\">album</a></li>");
    item += QString(kItemSpacing - item.size(), u' ');
    QString page;
    page.reserve(length);
    while (page.size() + kItemSpacing <= length) {
        page += item;
    }
    page += QString(length - page.size(), u' ');
    return page;
}

// Seconds per MiB of page, next to the bytes per second that SetBytesProcessed gives.
void ReportPerMiB(benchmark::State& state, const QString& page) {
    state.SetBytesProcessed(state.iterations() * page.size());
    state.counters["s_per_MiB"] = benchmark::Counter(
        double(page.size()) / kMiB,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const QString& PageOf(qsizetype mebibytes) {
    static QString pages[65];
    QString& page = pages[mebibytes];
    if (page.isEmpty()) {
        page = MakePage(mebibytes);
    }
    return page;
}

void BM_TakeBetweenWalk(benchmark::State& state) {
    const QString& page = PageOf(state.range(0));
    qsizetype items = 0;
    for (auto _ : state) {
        TextSource source(page);
        items = 0;
        for (;;) {
            const QString item = TakeBetween(source, u"<li class=\"album\">", u"</li>", Consume);
            if (item.isEmpty()) {
                break;
            }
            benchmark::DoNotOptimize(item.constData());
            ++items;
        }
    }
    ReportPerMiB(state, page);
    state.counters["items"] = double(items);
}

// A loop that runs until the start marker is missing, over a page that lacks the end marker:
// each item then asks for the same absent marker again.
void BM_WalkEndMarkerAbsent(benchmark::State& state) {
    const QString& page = PageOf(state.range(0));
    qsizetype items = 0;
    for (auto _ : state) {
        TextSource source(page);
        items = 0;
        for (qsizetype left = source.size();; left = source.size()) {
            benchmark::DoNotOptimize(
                TakeBetween(source, u"<li class=\"album\">", u"</ul>", Consume).constData());
            if (source.size() == left) {
                break;
            }
            ++items;
        }
    }
    ReportPerMiB(state, page);
    state.counters["items"] = double(items);
}

// The peer: the same page scanned for the same markers with QString::indexOf, nothing taken.
void BM_IndexOfScan(benchmark::State& state) {
    const QString& page = PageOf(state.range(0));
    qsizetype items = 0;
    for (auto _ : state) {
        items = 0;
        qsizetype at = 0;
        for (;;) {
            at = page.indexOf(u"<li class=\"album\">", at);
            if (at < 0) {
                break;
            }
            at = page.indexOf(u"</li>", at);
            if (at < 0) {
                break;
            }
            ++items;
        }
        benchmark::DoNotOptimize(at);
    }
    ReportPerMiB(state, page);
    state.counters["items"] = double(items);
}

BENCHMARK(BM_TakeBetweenWalk)->Arg(1)->Arg(4)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkEndMarkerAbsent)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexOfScan)->Arg(1)->Arg(4)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mosaiq

BENCHMARK_MAIN();
