#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// Files some sites write beside the pictures or for the author. All are UTF-16LE text after
// the byte-order mark, replaced whole (never left short by a crash). False when the file could
// not be written.
bool WriteUtf16File(const QString& path, const QString& text);

// "相册描述.txt" and "图片描述.txt" in the picture queue's folder: the album's folder once its
// first picture was queued.
bool WriteAlbumDescription(const QString& text);
bool WritePictureDescription(const QString& text);

// The item page of a shop, kept as "tb.txt" in the data folder.
bool WriteItemPage(const JobState& state, const QString& page);

// A page kept for the author as "log.err" in the data folder, without telling the user (the
// sites that keep every page they read, in case it has to be sent).
bool WritePageLog(const JobState& state, const QString& page);

// A page the adapter could not read: written to "log.err" in the data folder, and the user
// is asked to send it ("获取信息出错(<code>),请将程序目录下的log.err文件发给作者,以便修改").
void ReportUnreadPage(JobState& state, const QString& page, int code);

}  // namespace mosaiq
