#include "base/outputfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

// Why a name that exists is no target; empty for a regular file.
QString refusal(const struct stat &status, OutputFile::Mode mode)
{
    if (S_ISLNK(status.st_mode))
        return OutputFile::tr("这是一个符号链接;程序自己命名的文件不经链接写入");
    if (S_ISFIFO(status.st_mode))
        return OutputFile::tr("这是一个管道(FIFO),只能写入普通文件");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return OutputFile::tr("这是一个设备,只能写入普通文件");
    if (S_ISDIR(status.st_mode))
        return OutputFile::tr("这是一个文件夹,只能写入普通文件");
    if (!S_ISREG(status.st_mode))
        return OutputFile::tr("这不是普通文件,只能写入普通文件");
    if (mode == OutputFile::Mode::CreateNew)
        return OutputFile::tr("文件已存在;不覆盖本次运行之前就有的文件");
    return QString();
}

} // namespace

OutputFile::~OutputFile()
{
    close();
}

QString OutputFile::checkTarget(const QString &path, Mode mode, Name name)
{
    if (path.isEmpty())
        return systemReason(ENOENT);
    const QByteArray native = QFile::encodeName(path);
    struct stat status
    {
    };
    const int result
        = name == Name::Program ? ::lstat(native.constData(), &status) : ::stat(native.constData(), &status);
    if (result != 0)
        return errno == ENOENT ? QString() : systemReason(errno);
    return refusal(status, mode);
}

bool OutputFile::open(const QString &path, Mode mode, Name name)
{
    close();
    m_error.clear();
    const QString refused = checkTarget(path, mode, name);
    if (!refused.isEmpty())
        return fail(refused);

    // Checked again on what was opened, without waiting on a FIFO that took
    // the name in the meantime, and truncated only once known to be a file.
    int flags = O_WRONLY | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    if (mode == Mode::Append)
        flags |= O_APPEND;
    if (mode == Mode::CreateNew)
        flags |= O_EXCL;
    if (name == Name::Program)
        flags |= O_NOFOLLOW;
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat status
        {
        };
        if ((error == ELOOP || error == EEXIST || error == ENXIO)
            && ::lstat(QFile::encodeName(path).constData(), &status) == 0) {
            const QString why = refusal(status, mode);
            return fail(why.isEmpty() ? systemReason(error) : why);
        }
        return fail(systemReason(error));
    }
    m_fd = fd;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0)
        return fail(systemReason(errno));
    if (!S_ISREG(status.st_mode))
        return fail(refusal(status, Mode::Replace));
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return fail(systemReason(errno));
    if (mode == Mode::Replace && ::ftruncate(fd, 0) != 0)
        return fail(systemReason(errno));
    return true;
}

bool OutputFile::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return false;
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(systemReason(written < 0 ? errno : EIO));
        data += written;
        left -= written;
    }
    return true;
}

bool OutputFile::close()
{
    if (m_fd < 0)
        return true;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        m_error = systemReason(errno);
        return false;
    }
    return true;
}

qint64 OutputFile::size() const
{
    struct stat status
    {
    };
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return 0;
    return status.st_size;
}

bool OutputFile::fail(const QString &reason)
{
    // The first reason stays: closing after a failed write says nothing new.
    m_error = reason;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    return false;
}
