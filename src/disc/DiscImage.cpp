#include "disc/DiscImage.h"

#include <QFile>
#include <QFileInfo>

#include <udfread/blockinput.h>
#include <udfread/udfread.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The image as libudfread reads it: its blocks, from an open descriptor, within a budget.
struct DiscImage::Input
{
    udfread_block_input blocks{}; // first, so that libudfread's pointer is this one's
    int descriptor = -1;
    quint32 blockCount = 0;
    qint64 budget = 0; // bytes the current step may still read
    const std::atomic<bool> *cancelled = nullptr;

    ~Input()
    {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }

    void Allow(qint64 bytes) { budget = bytes; }

    static int Read(udfread_block_input *blocks, uint32_t lba, void *buffer, uint32_t count,
                    int /*flags*/)
    {
        Input *input = reinterpret_cast<Input *>(blocks);
        if ((input->cancelled != nullptr && input->cancelled->load()) || lba >= input->blockCount) {
            return -1;
        }
        count = std::min(count, input->blockCount - lba);
        const qint64 bytes = qint64(count) * UDF_BLOCK_SIZE;
        if (bytes > input->budget) {
            return -1;
        }
        input->budget -= bytes;
        auto *into = static_cast<char *>(buffer);
        qint64 done = 0;
        while (done < bytes) {
            const ssize_t got = ::pread(input->descriptor, into + done, size_t(bytes - done),
                                        off_t(qint64(lba) * UDF_BLOCK_SIZE + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                // The file shrank since it was measured.
                return done >= UDF_BLOCK_SIZE ? int(done / UDF_BLOCK_SIZE) : -1;
            }
            done += got;
        }
        return int(count);
    }

    static uint32_t Size(udfread_block_input *blocks)
    {
        return reinterpret_cast<Input *>(blocks)->blockCount;
    }
};

namespace {

// Opens a regular file without waiting on it, or gives -1.
int OpenRegularFile(const QString &path, quint32 &blockCount)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status;
    // A device is never opened: opening one can do things of its own.
    if (::stat(nativePath.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return -1;
    }
    const int descriptor =
        ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return -1;
    }
    // Block numbers are 32 bits wide: an image of more than 8 TiB is no disc.
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size / UDF_BLOCK_SIZE > qint64(UINT32_MAX)) {
        ::close(descriptor);
        return -1;
    }
    blockCount = quint32(status.st_size / UDF_BLOCK_SIZE);
    return descriptor;
}

} // namespace

DiscImage::DiscImage(const QString &path, const std::atomic<bool> *cancelled)
    : m_path(path), m_input(std::make_unique<Input>())
{
    m_input->cancelled = cancelled;
    m_input->descriptor = OpenRegularFile(path, m_input->blockCount);
    if (m_input->descriptor < 0) {
        return;
    }
    m_input->blocks.read = &Input::Read;
    m_input->blocks.size = &Input::Size;
    m_udf = udfread_init();
    m_input->Allow(kMaxStructureBytes);
    if (m_udf != nullptr && udfread_open_input(m_udf, &m_input->blocks) < 0) {
        udfread_close(m_udf);
        m_udf = nullptr;
    }
}

DiscImage::~DiscImage()
{
    if (m_udf != nullptr) {
        udfread_close(m_udf);
    }
}

DiscFolderKind DiscImage::Kind()
{
    if (IsRegularFile(QStringLiteral("BDMV"), QStringLiteral("index.bdmv"))) {
        m_input->Allow(kMaxStructureBytes);
        UDFDIR *playlists = m_udf == nullptr ? nullptr : udfread_opendir(m_udf, "BDMV/PLAYLIST");
        if (playlists != nullptr) {
            udfread_closedir(playlists);
            return DiscFolderKind::BluRay;
        }
    }
    return IsRegularFile(QStringLiteral("VIDEO_TS"), QStringLiteral("VIDEO_TS.IFO"))
               ? DiscFolderKind::Dvd
               : DiscFolderKind::NotRecognised;
}

QStringList DiscImage::FileNames(const QString &folder)
{
    QStringList names;
    if (m_udf == nullptr) {
        return names;
    }
    m_input->Allow(kMaxStructureBytes);
    UDFDIR *directory = udfread_opendir(m_udf, folder.toUtf8().constData());
    if (directory == nullptr) {
        return names;
    }
    udfread_dirent entry;
    while (udfread_readdir(directory, &entry) != nullptr) {
        // Named as a listing of a folder names them.
        if (entry.d_type == UDF_DT_REG && entry.d_name[0] != '.') {
            names.append(QString::fromUtf8(entry.d_name));
        }
    }
    udfread_closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

bool DiscImage::IsRegularFile(const QString &folder, const QString &name)
{
    return FileNames(folder).contains(name);
}

bool DiscImage::ReadFile(const QString &path, qint64 maxBytes, QByteArray &contents)
{
    contents.clear();
    if (m_udf == nullptr) {
        return false;
    }
    m_input->Allow(kMaxStructureBytes);
    UDFFILE *file = udfread_file_open(m_udf, path.toUtf8().constData());
    if (file == nullptr) {
        return false;
    }
    const int64_t size = udfread_file_size(file);
    bool read = size >= 0 && size <= maxBytes;
    if (read && size > 0) {
        // The file's own blocks, and what finding them takes.
        m_input->Allow(kMaxStructureBytes + size + UDF_BLOCK_SIZE);
        contents.resize(qsizetype(size));
        qint64 done = 0;
        while (done < size) {
            const ssize_t got =
                udfread_file_read(file, contents.data() + done, size_t(size - done));
            if (got <= 0) {
                break;
            }
            done += got;
        }
        read = done == size;
    }
    udfread_file_close(file);
    if (!read) {
        contents.clear();
    }
    return read;
}

QString DiscImage::VolumeName() const
{
    // libudfread decodes the identifier's at most 32 bytes into UTF-8.
    const char *name = m_udf != nullptr ? udfread_get_volume_id(m_udf) : nullptr;
    return name != nullptr ? QString::fromUtf8(name).trimmed() : QString();
}

bool IsDiscImageName(const QString &path)
{
    return path.endsWith(QLatin1String(".iso"), Qt::CaseInsensitive) && !QFileInfo(path).isDir();
}
