#pragma once

#include <QByteArray>
#include <QString>

namespace mosaiq {

// A download's body on its way to `target`: written to a temporary file in its folder, which
// replaces the target only on Commit, so the target never holds a cut file. Without Commit
// the temporary file is removed. Not synced to disk: pictures are not worth an fsync each.
// The file gets the modes the umask gives, as any file the user's programs make. A picture
// costs one open, its writes, one close and one rename.
class BodyFile {
  public:
    explicit BodyFile(const QString& target);
    ~BodyFile();
    BodyFile(const BodyFile&) = delete;
    BodyFile& operator=(const BodyFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void Write(const char* data, qint64 length);
    bool Commit();
    // Why the file could not be written or put in place; empty while all went well.
    QString errorText() const { return m_error; }

  private:
    void Fail(int error);
    void Discard();

    QByteArray m_target;     // in the file system's encoding
    QByteArray m_temporary;  // empty once committed or removed
    int m_fd = -1;
    QString m_error;
};

}  // namespace mosaiq
