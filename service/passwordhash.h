#pragma once

#include <QString>

// Passwords are kept only as salted PBKDF2 digests, so a copied database gives no one's password.
QString HashPassword(const QString &password);
bool PasswordMatches(const QString &password, const QString &stored);
