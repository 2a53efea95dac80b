#pragma once

#include <QByteArray>
#include <QString>

// The operator's password as the configuration keeps it: "pbkdf2-sha256$ITERATIONS$SALT$HASH"
// (salt and hash in base64), never the password itself. Slow on purpose: a copied
// configuration does not give the password away cheaply.
namespace WebPassword {

constexpr int Iterations = 100'000;
constexpr int SaltBytes = 16;
constexpr int HashBytes = 32;

QString hash(const QString &password, int iterations = Iterations);
bool isHash(const QString &stored);
// Compares in constant time, so the answer's delay tells nothing of how much matched.
bool matches(const QString &password, const QString &stored);
bool equalInConstantTime(const QByteArray &a, const QByteArray &b);

} // namespace WebPassword
