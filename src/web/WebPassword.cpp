#include "web/WebPassword.h"

#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

#include <optional>

namespace WebPassword {

namespace {

const QString Algorithm = QStringLiteral("pbkdf2-sha256");

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, HashBytes);
}

struct Parts
{
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

std::optional<Parts> split(const QString &stored)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts.at(0) != Algorithm)
        return std::nullopt;
    bool ok = false;
    Parts p;
    p.iterations = parts.at(1).toInt(&ok);
    const auto decode = [](const QString &text) {
        return QByteArray::fromBase64Encoding(text.toLatin1(),
                                              QByteArray::AbortOnBase64DecodingErrors);
    };
    const QByteArray::FromBase64Result salt = decode(parts.at(2));
    const QByteArray::FromBase64Result hash = decode(parts.at(3));
    if (!ok || p.iterations < 1 || !salt || !hash || salt.decoded.isEmpty() ||
        hash.decoded.size() != HashBytes)
        return std::nullopt;
    p.salt = salt.decoded;
    p.hash = hash.decoded;
    return p;
}

} // namespace

QString hash(const QString &password, int iterations)
{
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          SaltBytes / int(sizeof(quint32)));
    return QStringLiteral("%1$%2$%3$%4")
        .arg(Algorithm)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()),
             QString::fromLatin1(derive(password, salt, iterations).toBase64()));
}

bool isHash(const QString &stored)
{
    return split(stored).has_value();
}

bool matches(const QString &password, const QString &stored)
{
    const std::optional<Parts> p = split(stored);
    if (!p)
        return false;
    return equalInConstantTime(derive(password, p->salt, p->iterations), p->hash);
}

bool equalInConstantTime(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

} // namespace WebPassword
