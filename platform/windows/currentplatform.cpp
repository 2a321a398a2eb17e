#include "platform/windows/windowsplatform.h"

Platform &Platform::current()
{
    static WindowsPlatform platform;
    return platform;
}
