#include "platform/OpenFolder.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString WithSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool IsRegularFile(int folder, const dirent &entry)
{
    switch (entry.d_type) {
    case DT_REG: return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat status;
        return ::fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
    }
    default: return false;
    }
}

} // namespace

OpenFolder::OpenFolder(const QString &folder)
    : m_descriptor(::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC))
{
    // The listing gets a descriptor of its own, which closing it closes.
    const int listing = m_descriptor < 0 ? -1 : ::dup(m_descriptor);
    DIR *directory = listing < 0 ? nullptr : ::fdopendir(listing);
    if (directory == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    const QString prefix = WithSeparator(folder);
    while (const dirent *entry = ::readdir(directory)) {
        if (entry->d_name[0] != '.' && IsRegularFile(m_descriptor, *entry)) {
            m_files.append({prefix + QFile::decodeName(entry->d_name), QByteArray(entry->d_name)});
        }
    }
    ::closedir(directory);
    // All paths share the prefix, so they sort as the names do.
    std::sort(m_files.begin(), m_files.end(),
              [](const RegularFileEntry &a, const RegularFileEntry &b) { return a.path < b.path; });
}

OpenFolder::~OpenFolder()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}
