#pragma once

#include "service/database.h"
#include "service/sqlite.h"

#include <QString>
#include <optional>

// What a registration supplies besides the id and the password.
struct PersonalData
{
    QString name;
    int sex = 0; // 0 male, 1 female, as the registration sends it
    QString birthday;
    QString location;
    QString address;
    QString postalCode;
    QString telephone;
    QString icno;
    QString email;
    bool fromClient = false;
};

struct StoredAccount
{
    QString logid; // as registered; lookups ignore case
    QString passwordHash;
    int level = 1;
};

// How visitors reach a user's site, as the last login described it.
struct SiteDescription
{
    bool webIsOpen = false;
    bool webIsDynamic = false;
    int webPort = 0;
    QString webStaticUrl;
    QString webTitle;
    QString webKeyword;
    QString webIntro;
    QString webAreas;
    QString notLoginUrl;
    QString clientVersion;
};

// False when the id is taken (in any letter case). The hash comes from HashPassword.
bool AddAccount(SqliteConnection &db, const QString &logid, const QString &passwordHash,
                const PersonalData &personal, qint64 now);
std::optional<StoredAccount> FindAccount(SqliteConnection &db, const QString &logid);
// The account when the password is right; nothing for an unknown id or a wrong password. The
// slow password check runs without holding the database.
std::optional<StoredAccount> VerifiedAccount(Database &database, const QString &logid,
                                             const QString &password);

void SaveSite(SqliteConnection &db, const QString &logid, const SiteDescription &site, qint64 now);
std::optional<SiteDescription> FindSite(SqliteConnection &db, const QString &logid);
