#include "app/helptext.h"

#include "core/clientserviceinfo.h"

QString VersionLine(const QString &programName)
{
    return programName + QLatin1Char(' ') + QString::number(TClientServiceInfo::kClientVersion);
}

QString HelpEpilogue()
{
    return QStringLiteral(
        "\n"
        "Without --headless the client lives as an icon in the notification area; its menu\n"
        "leads to the login, options, registration and message-log windows. With --headless\n"
        "it prints one line per change of session state (state: online, state: offline,\n"
        "state: connection lost) and the outcome of each login, and runs until SIGINT or\n"
        "SIGTERM.\n"
        "\n"
        "Files:\n"
        "  APP_DIR/config.xml        settings and the last login (password scrambled)\n"
        "  APP_DIR/log/log.txt       activity log, when logging is on\n"
        "  APP_DIR/xml/messages.xml  the messages the service delivered\n"
        "  DATA_DIR/xml/webAreas.xml  the category tree (read only, as the files below)\n"
        "  DATA_DIR/xml/webServerType.xml  web-server signatures\n"
        "  DATA_DIR/RegisterAgree.txt  the registration agreement\n"
        "  DATA_DIR/online.ico, DATA_DIR/offline.ico  the tray icons\n"
        "  $XDG_CONFIG_HOME/autostart/marbello.desktop  kept while start at logon is on\n"
        "\n"
        "APP_DIR is --app-dir, else the program's own directory when the shipped files lie beside\n"
        "it and it is writable (a portable copy or the build tree), else $XDG_DATA_HOME/marbello\n"
        "(~/.local/share/marbello). DATA_DIR is the program's own directory for such a copy, else\n"
        "the installed data directory, " MARBELLO_DATA_DIR ". A shipped file in APP_DIR is used\n"
        "first. Every file is code page 936 (GBK).\n"
        "\n"
        "Environment:\n"
        "  MARBELLO_SERVICE          service host[:port] when --service is not given\n"
        "  http_proxy, HTTP_PROXY    proxy for every request, [http://]host:port\n"
        "  XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR\n"
        "                            data, autostart entry, single-instance lock\n"
        "\n"
        "Exit status:\n"
        "  0  the client ended: exit item, end of the session, SIGINT or SIGTERM, or no\n"
        "     notification area\n"
        "  1  another instance is running, or (headless) the login given by --logid failed\n"
        "  2  the command line is not understood\n");
}
