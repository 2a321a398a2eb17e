#include "service/servicetext.h"

#include "core/cp936.h"

#include <mutex>

namespace servicetext {
namespace {

std::mutex &converterMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

QByteArray encode(QStringView text)
{
    std::lock_guard lock(converterMutex());
    return cp936::encode(text);
}

QString decode(QByteArrayView bytes)
{
    std::lock_guard lock(converterMutex());
    return cp936::decode(bytes);
}

} // namespace servicetext
