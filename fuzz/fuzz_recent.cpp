// libFuzzer target: the recent list's file on any bytes. Besides the sanitizers' findings, an
// entry that is empty or holds a line break counts as a crash.
#include "UserFile.h"

#include "ui/RecentFileList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RecentFileList list;
    list.Load(WriteUserFile("RecentConfig.txt", data, size));
    for (const QString &path : list.Paths()) {
        if (path.isEmpty() || path.contains(QLatin1Char('\n'))) {
            std::abort();
        }
    }
    return 0;
}
