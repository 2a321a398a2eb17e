#pragma once

#include <QDate>
#include <QString>

class TClientServiceInfo;

// What the registration form collects; texts are sent trimmed, unescaped.
struct RegistrationForm
{
    QString logid;
    QString password;
    QString name;
    bool male = true;
    QDate birthday;
    QString location;
    QString address;
    QString postalCode;
    QString telephone;
    QString icno;
    QString email;
};

// The twelve CRLF-ended lines of the request body, CP936.
QByteArray RegistrationBody(const RegistrationForm &form);

struct RegistrationResult
{
    bool registered = false;
    // Empty on success; the service's Reason on refusal; else one of the fixed texts.
    QString message;
};

// Posts the form to the service through the temporary file "tempreg.txt" beside the program,
// which is removed again. An answer that cannot be read is reported like a faulty service.
RegistrationResult RegisterUser(const TClientServiceInfo &info, const RegistrationForm &form);
