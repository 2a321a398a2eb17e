#pragma once

#include <QObject>
#include <memory>

// Turns the system's requests to end the program (SIGINT and SIGTERM; on Windows the console's
// Ctrl+C, close, logoff and shutdown) into a Qt signal delivered by the event loop, so that the
// closing steps run on the main thread rather than inside a handler.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    // How the system's requests arrive; one per backend.
    struct Watch;
    std::unique_ptr<Watch> m_watch;
};
