#include "service/RadioProbe.h"

#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "generic_tx/GenericTxRadio.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibRig.h"
#include "hamlib/HamlibRigBands.h"
#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/PortOpenReport.h"
#include "kenwood/RigLink.h"
#include "platform/ParportProcInfo.h"
#include "service/CommandTask.h"
#include "service/StationConfiguration.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

using RadioProbe::Answer;

// Opening a device says whether the station could; nothing is written to it.
QString openFailure(const QString &device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        QString why =
            QStringLiteral("%1: %2").arg(device, QString::fromLocal8Bit(std::strerror(error)));
        const QString group = QFileInfo(device).group();
        if ((error == EACCES || error == EPERM) && !group.isEmpty() && group != u"root")
            why += QStringLiteral(" (join the %1 group, then log in again)").arg(group);
        return why;
    }
    ::close(fd);
    return QString();
}

QCoro::Task<Answer> askKenwood(SerialPortSettings settings, Kenwood::Model model)
{
    const QString &port = settings.portName;
    if (port.isEmpty())
        co_return Answer{false, QStringLiteral("no serial port in the configuration (COM=)")};
    if (!QFileInfo::exists(PortOpenReport::devicePath(port)))
        co_return Answer{false, QStringLiteral("port %1 is missing").arg(port)};
    StationState state;
    RigLink link(state, settings, nullptr);
    if (!link.open(port)) {
        const QString why = openFailure(PortOpenReport::devicePath(port));
        co_return Answer{false, QStringLiteral("port %1 cannot be opened: %2")
                                    .arg(port, why.isEmpty() ? link.openError() : why)};
    }
    const QString reply = (co_await link.exchange(QStringLiteral("ID"))).trimmed();
    link.close();
    if (reply == QLatin1String("timerout"))
        co_return Answer{false, QStringLiteral("the radio on %1 does not answer (%2 s)")
                                    .arg(port)
                                    .arg(RigLink::ReplyDeadlineMs / 1000.0, 0, 'f', 1)};
    if (!Kenwood::idReplyMatches(reply, model))
        co_return Answer{false, QStringLiteral("the radio on %1 is no %2: it answers \"%3\"")
                                    .arg(port, Kenwood::idText(model), reply)};
    co_return Answer{
        true,
        QStringLiteral("%1 on %2 answers \"%3\"").arg(Kenwood::modelName(model), port, reply)};
}

Answer askHamlib(const HamlibSettings &settings)
{
    if (!HamlibModelList::settingsComplete(settings))
        return {false,
                QStringLiteral("no Hamlib radio in the configuration (HAMLIBMODEL=, HAMLIBPORT=)")};
    HamlibRig::prepareProcessLocale();
    HamlibRig rig(std::make_shared<HamlibWishes>());
    rig.askOnly();
    QString error;
    QString name;
    HamlibFrequency frequency;
    QObject::connect(&rig, &HamlibRig::failed, [&error](const QString &text) { error = text; });
    QObject::connect(&rig, &HamlibRig::refused, [&error](const QString &text) { error = text; });
    QObject::connect(&rig, &HamlibRig::opened, [&name](const HamlibCapabilities &caps) {
        name = (caps.maker + QLatin1Char(' ') + caps.model).trimmed();
    });
    QObject::connect(&rig, &HamlibRig::frequencyRead,
                     [&frequency](const HamlibFrequency &read) { frequency = read; });
    rig.open(settings.model, settings.port, settings.speed);
    rig.bands().readFrequency(0);
    rig.close();
    const QString where =
        QStringLiteral("Hamlib radio %1 on %2").arg(settings.model).arg(settings.port);
    if (!frequency.answered)
        return {false, QStringLiteral("%1: %2").arg(
                           where, error.isEmpty() ? QStringLiteral("no answer") : error)};
    return {true, QStringLiteral("%1 (%2) answers: %3 MHz")
                      .arg(where, name)
                      .arg(double(frequency.frequencyHz) / 1e6, 0, 'f', 6)};
}

Answer askGeneric(const StationConfiguration &c)
{
    if (c.otherLines.kind != LinesKind::ParallelPort) {
        if (c.otherLines.device.isEmpty())
            return {false, QStringLiteral("no lines device in the configuration (LINESDEVICE=)")};
        if (!LineConfig::parseMap(c.otherLines.kind, c.otherLines.map))
            return {false, QStringLiteral("no pin map that fits %1 (LINESMAP=)")
                               .arg(LineConfig::kindText(c.otherLines.kind))};
        if (const QString why = openFailure(c.otherLines.device); !why.isEmpty())
            return {false,
                    QStringLiteral("lines %1 cannot be opened: %2").arg(c.otherLines.device, why)};
        return {true, QStringLiteral("lines %1 open (the transmitter itself never replies)")
                          .arg(c.otherLines.device)};
    }
    if (c.lines.base == 0)
        return {false, QStringLiteral("no parallel port chosen (LPT378=, LPT278=, LPT3BC= or "
                                      "LPT=; or LINES=CM108 or GPIO)")};
    const QString address = ConfigValues::hexAddress(c.lines.base) + QLatin1Char('h');
    const std::optional<int> number = ParportProcInfo().portNumberForBase(c.lines.base);
    if (!number)
        return {false, QStringLiteral("no parallel port at %1").arg(address)};
    const QString device = QStringLiteral("/dev/parport%1").arg(*number);
    if (const QString why = openFailure(device); !why.isEmpty())
        return {false,
                QStringLiteral("parallel port at %1 cannot be opened: %2").arg(address, why)};
    return {true, QStringLiteral("parallel port at %1 (%2) opens (the transmitter itself never "
                                 "replies)")
                      .arg(address, device)};
}

} // namespace

namespace RadioProbe {

Answer ask(const StationConfiguration &c)
{
    if (const std::optional<Kenwood::Model> model = Kenwood::modelFromName(c.model))
        return CommandTask::await(askKenwood(c.serial, *model));
    if (c.model == HamlibRadio::ModelName)
        return askHamlib(c.hamlib);
    if (c.model == GenericTxRadio::ModelName)
        return askGeneric(c);
    return {false, QStringLiteral("no radio model in the configuration (MODEL=)")};
}

} // namespace RadioProbe
