#include "Console.h"

#include <QTime>
#include <cstdio>

void Console::print(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void Console::error(const QString &message)
{
    const QByteArray bytes = "relaysim: " + message.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

QString Console::timestamp()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString Console::escape(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        default:
            if (c < 0x20 || c > 0x7e)
                out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
            else
                out += QLatin1Char(char(c));
        }
    }
    return out;
}

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray Console::unescape(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char next = text.at(i + 1);
        switch (next) {
        case 'r':
            out += '\r';
            ++i;
            break;
        case 'n':
            out += '\n';
            ++i;
            break;
        case 't':
            out += '\t';
            ++i;
            break;
        case '0':
            out += '\0';
            ++i;
            break;
        case '\\':
            out += '\\';
            ++i;
            break;
        case 'x': {
            const int high = i + 2 < text.size() ? hexValue(text.at(i + 2)) : -1;
            const int low = i + 3 < text.size() ? hexValue(text.at(i + 3)) : -1;
            if (high < 0 || low < 0) {
                out += c;
                break;
            }
            out += char(high * 16 + low);
            i += 3;
            break;
        }
        default:
            out += c;
        }
    }
    return out;
}
