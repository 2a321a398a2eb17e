#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file holding every image given (32-bit colour with alpha, one entry per size),
// readable by Qt's icon plugin and by Windows alike.
QByteArray IcoFile(const QList<QImage> &images);
