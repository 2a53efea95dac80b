#include "hamlib/RigctldModel.h"

#include "hamlib/HamlibTexts.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

std::optional<RigctldModel> RigctldModel::fromDump(const QByteArray &dump)
{
    RigctldModel found;
    for (const QByteArray &line : dump.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon).trimmed();
        const QString value = QString::fromLatin1(line.mid(colon + 1).trimmed());
        if (key == "Model name")
            found.model = value;
        else if (key == "Mfg name")
            found.maker = value;
    }
    if (found.model.isEmpty() || found.maker.isEmpty())
        return std::nullopt;
    return found;
}

std::optional<RigctldModel> RigctldModel::ask(const QString &address, int timeoutMs)
{
    const std::optional<HamlibTexts::NetworkAddress> where = HamlibTexts::rigctldAddress(address);
    if (!where)
        return std::nullopt;
    const QDeadlineTimer deadline(timeoutMs);
    QTcpSocket socket;
    socket.connectToHost(where->host, quint16(where->port));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return std::nullopt;
    socket.write("\\dump_caps\n");
    QByteArray dump;
    // Both names come in the first lines of the dump.
    while (!deadline.hasExpired()) {
        // Only whole lines: a name cut by the network is not taken.
        if (std::optional<RigctldModel> found = fromDump(dump.left(dump.lastIndexOf('\n') + 1)))
            return found;
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        dump += socket.readAll();
    }
    return fromDump(dump.left(dump.lastIndexOf('\n') + 1));
}
