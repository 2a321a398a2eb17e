#pragma once

#include "core/clientserviceinfo.h"
#include "scriptedserver.h"
#include "tests/support/testfiles.h"

#include <QByteArray>
#include <QString>

// A client state in a fresh app directory whose service is a scripted server on loopback.
struct FakeServiceFixture
{
    FakeServiceFixture();

    // The request line of connection `index`, without "GET " and " HTTP/1.0".
    QByteArray requestTarget(int index) const;
    QString logText() const;

    TestAppDir dir;
    ScriptedServer server;
    TClientServiceInfo info;
};

// An HTTP reply carrying `xml` in CP936 behind a gb2312 declaration.
QByteArray AnswerReply(const QString &xml);
// A status element with `attributes`, and for keep-alives a message list, under a root.
QByteArray StatusReply(const QString &attributes, const QString &messageList = QString());

QString AcceptedLogin(int period = 60, const QString &newest = QStringLiteral("0.994"));
QString AcceptedKeepAlive(int period = 60);
