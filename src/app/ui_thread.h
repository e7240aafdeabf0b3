#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <type_traits>
#include <utility>

namespace mosaiq {

// Runs `work` on the thread of `context` and waits for its result; at once when already there.
template <typename Work>
auto RunOnUiThread(QObject* context, Work work) -> std::invoke_result_t<Work> {
    using Result = std::invoke_result_t<Work>;
    if (QThread::currentThread() == context->thread()) {
        return work();
    }
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(context, std::move(work), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            context, [&result, &work] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

// Runs `work` on the thread of `context` later, without waiting; at once when already there.
template <typename Work>
void PostToUiThread(QObject* context, Work work) {
    if (QThread::currentThread() == context->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

}  // namespace mosaiq
