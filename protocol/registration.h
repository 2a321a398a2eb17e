#pragma once

#include <QDate>
#include <QString>

class TClientServiceInfo;

// What the registration form collects; texts are sent trimmed.
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

// The address check of the registration form: the service's own pattern, without regard to case,
// matching the whole text.
bool IsValidEmailAddress(const QString &email);

// The twelve CRLF-ended lines of the request body, CP936, each value form-encoded as in the login
// URL, so that both read back the same password. The birthday is always "yyyy-M-d", the form the
// service reads, whatever the machine's locale.
QByteArray RegistrationBody(const RegistrationForm &form);

struct RegistrationResult
{
    enum class Outcome {
        Accepted,
        Refused,         // the service said no; message is its Reason
        NoAnswer,        // nothing came back
        Unreadable,      // something came back that is not a complete answer
        FileNotWritable, // "tempreg.txt" could not be written; nothing was sent
    };

    Outcome outcome = Outcome::NoAnswer;
    // Empty on acceptance, the service's Reason on refusal, else the fixed text of the outcome.
    QString message;

    bool registered() const { return outcome == Outcome::Accepted; }
};

// The text shown when "tempreg.txt" cannot be written.
QString TempFileNotWritableMessage();

// Posts the form to the service through the temporary file "tempreg.txt" beside the program. The
// file holds the password in plain text, so it is created readable by its owner only, before any
// byte goes in, and it is removed again on every path.
RegistrationResult RegisterUser(const TClientServiceInfo &info, const RegistrationForm &form);
