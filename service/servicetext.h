#pragma once

#include <QByteArray>
#include <QString>

// The CP936 conversions of core/cp936.h keep one converter each, which is not safe to use from two
// threads at once; the service's worker threads take turns through these.
namespace servicetext {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

} // namespace servicetext
