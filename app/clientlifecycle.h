#pragma once

#include <QString>

class Platform;
class TClientServiceInfo;

struct ClientEnvironment
{
    QString appDir;
    QString executablePath;
    QString serviceHost;
};

// The start-up steps that need no window, in order: client state and its initialisation, the
// system's proxy and browser, config.xml read, the start entry of the log, config.xml rewritten
// with the start-at-logon entry.
void StartClient(TClientServiceInfo &info, Platform &platform,
                 const ClientEnvironment &environment);

// The closing steps: config.xml saved, the exit entry of the log. The session is not logged off.
void CloseClient(TClientServiceInfo &info);
