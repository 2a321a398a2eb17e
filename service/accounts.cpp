#include "service/accounts.h"

#include "service/passwordhash.h"

bool AddAccount(SqliteConnection &db, const QString &logid, const QString &passwordHash,
                const PersonalData &personal, qint64 now)
{
    db.prepare("INSERT INTO accounts(logid, password_hash, name, sex, birthday, location, address,"
               " postal_code, telephone, icno, email, from_client, created_at)"
               " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)"
               " ON CONFLICT(logid) DO NOTHING")
        .bind(1, logid)
        .bind(2, passwordHash)
        .bind(3, personal.name)
        .bind(4, personal.sex)
        .bind(5, personal.birthday)
        .bind(6, personal.location)
        .bind(7, personal.address)
        .bind(8, personal.postalCode)
        .bind(9, personal.telephone)
        .bind(10, personal.icno)
        .bind(11, personal.email)
        .bind(12, personal.fromClient ? 1 : 0)
        .bind(13, now)
        .run();
    return db.changes() == 1;
}

std::optional<StoredAccount> FindAccount(SqliteConnection &db, const QString &logid)
{
    SqliteStatement query =
        db.prepare("SELECT logid, password_hash, level FROM accounts WHERE logid = ?1");
    query.bind(1, logid);
    if (!query.step())
        return std::nullopt;
    return StoredAccount{query.text(0), query.text(1), int(query.integer(2))};
}

std::optional<StoredAccount> VerifiedAccount(Database &database, const QString &logid,
                                             const QString &password)
{
    std::optional<StoredAccount> account =
        database.locked([&](SqliteConnection &db) { return FindAccount(db, logid); });
    if (!account)
        return std::nullopt;
    const PasswordCheck check = CheckPassword(password, account->passwordHash);
    if (check == PasswordCheck::Wrong)
        return std::nullopt;
    if (check == PasswordCheck::RightButOutdated) {
        const QString renewed = HashPassword(password);
        // Only if no other login renewed or changed it meanwhile.
        database.locked([&](SqliteConnection &db) {
            db.prepare("UPDATE accounts SET password_hash = ?2 WHERE logid = ?1 AND"
                       " password_hash = ?3")
                .bind(1, account->logid)
                .bind(2, renewed)
                .bind(3, account->passwordHash)
                .run();
        });
        account->passwordHash = renewed;
    }
    return account;
}

void SaveSite(SqliteConnection &db, const QString &logid, const SiteDescription &site, qint64 now)
{
    db.prepare("INSERT INTO sites(logid, web_is_open, web_is_dynamic, web_port, web_static_url,"
               " web_title, web_keyword, web_intro, web_areas, not_login_url, client_version,"
               " updated_at) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"
               " ON CONFLICT(logid) DO UPDATE SET web_is_open = excluded.web_is_open,"
               " web_is_dynamic = excluded.web_is_dynamic, web_port = excluded.web_port,"
               " web_static_url = excluded.web_static_url, web_title = excluded.web_title,"
               " web_keyword = excluded.web_keyword, web_intro = excluded.web_intro,"
               " web_areas = excluded.web_areas, not_login_url = excluded.not_login_url,"
               " client_version = excluded.client_version, updated_at = excluded.updated_at")
        .bind(1, logid)
        .bind(2, site.webIsOpen ? 1 : 0)
        .bind(3, site.webIsDynamic ? 1 : 0)
        .bind(4, site.webPort)
        .bind(5, site.webStaticUrl)
        .bind(6, site.webTitle)
        .bind(7, site.webKeyword)
        .bind(8, site.webIntro)
        .bind(9, site.webAreas)
        .bind(10, site.notLoginUrl)
        .bind(11, site.clientVersion)
        .bind(12, now)
        .run();
}

std::optional<SiteDescription> FindSite(SqliteConnection &db, const QString &logid)
{
    SqliteStatement query =
        db.prepare("SELECT web_is_open, web_is_dynamic, web_port, web_static_url, web_title,"
                   " web_keyword, web_intro, web_areas, not_login_url, client_version"
                   " FROM sites WHERE logid = ?1");
    query.bind(1, logid);
    if (!query.step())
        return std::nullopt;
    return SiteDescription{query.integer(0) != 0, query.integer(1) != 0, int(query.integer(2)),
                           query.text(3),         query.text(4),         query.text(5),
                           query.text(6),         query.text(7),         query.text(8),
                           query.text(9)};
}
