#pragma once

#include <QString>

class TClientServiceInfo;

struct PromptOnlineResult
{
    QString message;
    bool accepted = false;
};

// One keep-alive: takes the service's period, and on acceptance hands the delivered messages to
// the store. Any failure, a store that could not be written included, leaves the client in
// connection lost; a store failure also goes to the activity log when a run of them begins.
PromptOnlineResult PromptOnline(TClientServiceInfo &info);

// The keep-alive timer's tick: a keep-alive while there is a session to keep (or AutoLogin), then
// at once a new login if the connection was lost; otherwise the timer stops. While delivered
// messages cannot be stored, the session that brought them is never kept alive (that would
// acknowledge them), and the ticks back off.
void OnKeepAliveTimer(TClientServiceInfo &info);

// Makes OnKeepAliveTimer the tick handler of the client state's keep-alive timer.
void BindKeepAliveTimer(TClientServiceInfo &info);
