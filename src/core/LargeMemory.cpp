#include "LargeMemory.h"

#include <cstdint>
#include <new>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace {
constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
}

void adviseHugePages(void* data, std::size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
    if (data == nullptr || last <= first)
        return;
    // Only advice: a kernel without transparent huge pages refuses it and nothing changes.
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

QImage newLargeImage(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    if (!image.isNull())
        adviseHugePages(image.bits(), std::size_t(image.sizeInBytes()));
    return image;
}

QByteArray newLargeByteArray(qsizetype size)
{
    try {
        QByteArray bytes(size, Qt::Uninitialized);
        adviseHugePages(bytes.data(), std::size_t(size));
        return bytes;
    } catch (const std::bad_alloc&) {
        return QByteArray();
    }
}
