#pragma once

#include <QString>

// Passwords are kept only as salted Argon2id digests, so a copied database gives no one's password
// and each guess costs the memory and time the field recommends. Accounts from before Argon2id
// hold PBKDF2 digests; those are still checked, and replaced at the next right login.
QString HashPassword(const QString &password);

enum class PasswordCheck { Wrong, Right, RightButOutdated };
PasswordCheck CheckPassword(const QString &password, const QString &stored);

// A PBKDF2 digest as the older accounts hold, for tests and the login benchmark.
QString HashPasswordPbkdf2(const QString &password);
