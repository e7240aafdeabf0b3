#pragma once

#include <QString>
#include <QTemporaryFile>

namespace mosaiq {

// A download's body on its way to `target`: written to a temporary file in its folder, which
// replaces the target only on Commit, so the target never holds a cut file. Without Commit
// the temporary file is removed. Not synced to disk: pictures are not worth an fsync each.
// The file gets the modes the umask gives, as any file the user's programs make.
class BodyFile {
  public:
    explicit BodyFile(const QString& target);
    bool isOpen() const { return m_open; }
    void Write(const char* data, qint64 length);
    bool Commit();
    // Why the file could not be written or put in place; empty while all went well.
    QString errorText() const { return m_error; }

  private:
    void Fail(const QString& error);

    QString m_target;
    QTemporaryFile m_file;
    bool m_open = false;
    QString m_error;
};

}  // namespace mosaiq
