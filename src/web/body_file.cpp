#include "web/body_file.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <random>
#include <system_error>

namespace mosaiq {
namespace {

constexpr int kNameAttempts = 100;

// Short and independent of the target's name: a target whose name is as long as the file
// system allows leaves no room for a suffix.
QByteArray TemporaryName(const QByteArray& folder) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr uint64_t kLetterCount = sizeof(kLetters) - 1;
    constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
    // One seed for the process, a different stream per thread: no device read per worker.
    static std::atomic<uint64_t> nextStream{(uint64_t(std::random_device{}()) << 32) ^
                                            std::random_device{}()};
    thread_local uint64_t state = nextStream.fetch_add(kGolden * 2 + 1);
    // splitmix64: six letters from one step.
    uint64_t bits = (state += kGolden);
    bits = (bits ^ (bits >> 30)) * 0xBF58476D1CE4E5B9ULL;
    bits = (bits ^ (bits >> 27)) * 0x94D049BB133111EBULL;
    bits ^= bits >> 31;
    QByteArray name;
    name.reserve(folder.size() + 20);
    name.append(folder).append("/.mosaiq-");
    for (int i = 0; i < 6; ++i) {
        name.append(kLetters[bits % kLetterCount]);
        bits /= kLetterCount;
    }
    return name.append(".part");
}

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return ".";
    }
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// strerror is not safe while other workers fail at the same time.
QString ErrorText(int error) {
    return QString::fromStdString(std::generic_category().message(error));
}

}  // namespace

BodyFile::BodyFile(const QString& target) : m_target(QFile::encodeName(target)) {
    const QByteArray folder = FolderOf(m_target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        QByteArray name = TemporaryName(folder);
        // 0666 less the umask, as any file the user's programs make.
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = std::move(name);
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    m_error = ErrorText(errno);
}

BodyFile::~BodyFile() {
    Discard();
}

void BodyFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

void BodyFile::Fail(int error) {
    if (m_error.isEmpty()) {
        m_error = ErrorText(error);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void BodyFile::Write(const char* data, qint64 length) {
    while (m_fd >= 0 && length > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(length));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            Fail(written < 0 ? errno : ENOSPC);  // nothing taken: the disk is full
            continue;
        }
        data += written;
        length -= written;
    }
}

bool BodyFile::Commit() {
    if (m_fd < 0) {
        return false;
    }
    // A full disk on a network file system may show only when the file is closed.
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 && errno != EINTR) {
        Fail(errno);
        Discard();
        return false;
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        Fail(errno);
        Discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

}  // namespace mosaiq
