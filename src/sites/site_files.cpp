#include "sites/site_files.h"

#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/site_sinks.h"

#include <QSaveFile>

namespace mosaiq {
namespace {

bool WriteInAlbumFolder(const QString& name, const QString& text) {
    const QString folder = g_pictureQueue().folder;
    return !folder.isEmpty() && WriteUtf16File(folder + name, text);
}

}  // namespace

bool WriteUtf16File(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    file.write(bytes);
    return file.commit();
}

bool WriteAlbumDescription(const QString& text) {
    return WriteInAlbumFolder(QStringLiteral("相册描述.txt"), text);
}

bool WritePictureDescription(const QString& text) {
    return WriteInAlbumFolder(QStringLiteral("图片描述.txt"), text);
}

bool WriteItemPage(const JobState& state, const QString& page) {
    return WriteUtf16File(state.m_dataDir + QStringLiteral("tb.txt"), page);
}

bool WritePageLog(const JobState& state, const QString& page) {
    return WriteUtf16File(state.m_dataDir + QStringLiteral("log.err"), page);
}

void ReportUnreadPage(JobState& state, const QString& page, int code) {
    WritePageLog(state, page);
    Tell(state,
         QStringLiteral("获取信息出错(%1),请将程序目录下的log.err文件发给作者,以便修改").arg(code));
}

}  // namespace mosaiq
