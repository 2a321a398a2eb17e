#include "ui/artwork/icofile.h"

#include <QDataStream>
#include <QIODevice>

namespace {

// The bitmap of one entry: header, colour rows bottom-up in BGRA, then the 1-bit mask rows
// (all transparent-by-alpha, so left clear).
QByteArray bitmapEntry(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(width) << qint32(height * 2) << quint16(1) << quint16(32)
        << quint32(0) << quint32(width * height * 4 + maskRowBytes * height) << qint32(0)
        << qint32(0) << quint32(0) << quint32(0);
    for (int y = height - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
    }
    bytes.append(QByteArray(maskRowBytes * height, '\0'));
    return bytes;
}

} // namespace

QByteArray IcoFile(const QList<QImage> &images)
{
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    QList<QByteArray> entries;
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const QImage &image : images) {
        entries.append(bitmapEntry(image));
        // 0 stands for 256 in the one-byte size fields.
        out << quint8(image.width() & 0xFF) << quint8(image.height() & 0xFF) << quint8(0)
            << quint8(0) << quint16(1) << quint16(32) << quint32(entries.last().size()) << offset;
        offset += entries.last().size();
    }
    for (const QByteArray &entry : entries)
        file.append(entry);
    return file;
}
