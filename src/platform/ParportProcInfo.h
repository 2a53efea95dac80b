#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The kernel's list of parallel ports under <proc>/sys/dev/parport: one parportN directory per
// port, whose base-addr record starts with the port's I/O base address in decimal. The root is
// a parameter so that a copied tree can stand in for /proc.
class ParportProcInfo
{
public:
    explicit ParportProcInfo(const QString &procRoot = QStringLiteral("/proc"));

    // Numbers N of the parportN entries, ascending; empty when the kernel lists no port.
    QList<int> portNumbers() const;
    // Base address of parportN; nullopt when the port or its record is missing or unreadable.
    std::optional<quint16> baseAddress(int number) const;
    // Number N of the parportN whose base address is base.
    std::optional<int> portNumberForBase(quint16 base) const;

    // First field of a base-addr record ("888\t1912\n" gives 888); nullopt when it is not a
    // decimal number that fits an I/O address.
    static std::optional<quint16> parseBaseAddr(const QByteArray &record);

private:
    QString m_directory;
};
