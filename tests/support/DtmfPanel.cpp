#include "support/DtmfPanel.h"

#include "dtmf/DtmfCatalogue.h"

#include <QRegularExpression>
#include <algorithm>

const QStringList DtmfPanel::Memories = {
    QStringLiteral("001=145.225000 shift=-0.600"), QStringLiteral("015=145.600000 shift=0"),
    QStringLiteral("016=435.225000 shift=-7.600"), QStringLiteral("123=438.500000 shift=+1.600")};

DtmfPanel::DtmfPanel()
{
    c.showEntry = [this](const QString &entry) { shown = entry; };
    codes.setLines({DtmfCatalogue::DtmfListHeader});
    c.codes = &codes;

    radios.add(QStringLiteral("generic"), &generic);
    radios.add(QStringLiteral("TMD700"), &tmd700);
    radios.add(QStringLiteral("TMD710"), &tmd710);
    radios.add(QStringLiteral("TMV71"), &tmd710);
    radios.select(QStringLiteral("TMD710"));
    c.station.saveConfiguration = [this] { pressed << QStringLiteral("MenuSave"); };

    tmd700.state().setMemories(Memories);
    tmd710.state().setMemories(Memories);
    QStringList channels;
    for (int channel = 1; channel <= 40; ++channel)
        channels << QStringLiteral("%1= []").arg(channel, 3, 10, QChar(u'0'));
    channels[4] = QStringLiteral("005=145.225000 [Relais]");
    generic.state().updateMemories(channels);
    interpreter = std::make_unique<DtmfInterpreter>(state, log, radios, requests, c);
}

void DtmfPanel::report(const QString &chars)
{
    requests.submit([this, chars] { return interpreter->ReceiveDtmf(chars); });
}

void DtmfPanel::expire()
{
    interpreter->TimerDTMFTimer();
}

void DtmfPanel::addCode(const QString &code, int action)
{
    const auto &numbers = DtmfCatalogue::ActionNumbers;
    const int index = int(std::find(numbers.begin(), numbers.end(), action) - numbers.begin());
    codes.append(DtmfCatalogue::entryText(code, DtmfCatalogue::DtmfActionsFr.at(index)));
}

void DtmfPanel::useBand(const QString &band)
{
    state.Bands = band == QLatin1String("A")   ? StationState::BandChoice::A
                  : band == QLatin1String("B") ? StationState::BandChoice::B
                                               : StationState::BandChoice::Both;
}

QStringList DtmfPanel::logged() const
{
    static const QRegularExpression text(QStringLiteral(" ((Code|MEM|FREQ) .*)$"));
    QStringList texts;
    for (const QString &line : log.lines().mid(1)) {
        const QRegularExpressionMatch m = text.match(line);
        texts << (m.hasMatch() ? m.captured(1) : line);
    }
    return texts;
}

bool DtmfPanel::idle() const
{
    return state.DtmfReceived.isEmpty() && state.DtmfState == 0 && state.DtmfParameter.isEmpty();
}
