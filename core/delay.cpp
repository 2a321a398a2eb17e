#include "core/delay.h"

#include <QEventLoop>
#include <QTimer>

void Delay(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
