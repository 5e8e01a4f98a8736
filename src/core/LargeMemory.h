#pragma once
// Large buffers (the rasters of a design, the bytes of its file) are touched page by page as
// they are filled; with 4 KiB pages an 80 MB buffer costs twenty thousand page faults, which
// take longer than the work done in the buffer. Asking for huge pages cuts that a
// hundredfold where the system offers them, and changes nothing where it does not.

#include <QByteArray>
#include <QImage>
#include <cstddef>

// Advises the kernel to back the whole 2 MiB pages inside [data, data + bytes) with huge
// pages. Call it before the buffer is first written; small buffers are left alone.
void adviseHugePages(void* data, std::size_t bytes);

// A QImage of the given size and format with huge-page advice on its pixels, not yet
// initialised; a null image when memory is short.
QImage newLargeImage(int width, int height, QImage::Format format);

// A byte array of `size` uninitialised bytes with huge-page advice; empty when memory is short.
QByteArray newLargeByteArray(qsizetype size);
