#pragma once

#include "app/commandline.h"

#include <QString>

class Platform;
class TClientServiceInfo;

struct ClientEnvironment
{
    QString appDir;
    QString executablePath;
    QString serviceHost;
    QString shippedDataDir; // installed read-only files; may be empty
    // What the start-at-logon entry passes to the executable.
    QStringList launchArguments = {};
};

// The client state and its initialisation, the system's proxy and browser, and where the service
// is: everything before the configuration is read.
void InitializeClient(TClientServiceInfo &info, Platform &platform,
                      const ClientEnvironment &environment);

// config.xml read, the start entry of the log, config.xml rewritten with the start-at-logon entry.
void LoadAndRewriteConfig(TClientServiceInfo &info);

// Both of the above, for a client without a tray.
void StartClient(TClientServiceInfo &info, Platform &platform,
                 const ClientEnvironment &environment);

// What the user is told, once, when delivered messages cannot be stored.
QString StoreTroubleNotice();

// The closing steps: config.xml saved, the exit entry of the log. The session is not logged off.
void CloseClient(TClientServiceInfo &info);

struct CredentialsLogin
{
    bool sent = false;   // false: an empty id or password, nothing went to the service
    bool online = false; // the client is online afterwards
    QString message;     // the login's message, or the empty-field text
};

// A login with an id and password given on the command line, as the login dialog's button does
// it: trimmed texts, nothing sent when either is empty, config.xml saved afterwards.
CredentialsLogin LoginWithCredentials(TClientServiceInfo &info, const QString &logid,
                                      const QString &password);

// A portable copy or the build tree: the shipped read-only files lie beside the executable.
bool HasShippedFilesBeside(const QString &executableDir);
// The directory that plays the executable's directory: the one given, else the executable's own
// when it is a portable copy that is writable, else $XDG_DATA_HOME/marbello (created).
QString ResolveAppDir(const QString &given, const QString &executableDir);
// Where the shipped read-only files lie (icons, xml/, RegisterAgree.txt): beside the executable
// for a portable copy, else the installed data directory.
QString InstalledDataDir();

// The arguments that make a client started at logon the one `commandLine` started: --app-dir (as
// an absolute path) and --service, each when given.
QStringList LaunchArgumentsFor(const CommandLine &commandLine);
// The environment the command line asks for.
ClientEnvironment ClientEnvironmentFor(const CommandLine &commandLine);
