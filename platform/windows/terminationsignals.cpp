#include "platform/terminationsignals.h"

#include "platform/windows/core/consoleclose.h"

// The console's handler runs on a thread of the system's: it only queues the signal.
struct TerminationSignals::Watch
{
    explicit Watch(TerminationSignals *owner)
        : console([owner] {
              QMetaObject::invokeMethod(owner, &TerminationSignals::terminationRequested,
                                        Qt::QueuedConnection);
          })
    {}

    wincore::ConsoleCloseWatch console;
};

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent), m_watch(std::make_unique<Watch>(this))
{}

// Destroying the watch also lets a console close, logoff or shutdown that waited for the closing
// steps go on.
TerminationSignals::~TerminationSignals() = default;
