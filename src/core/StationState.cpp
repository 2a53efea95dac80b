#include "core/StationState.h"

#include "core/LanguageTexts.h"

#include <QDir>
#include <QFileInfo>

// Until a language is chosen the texts are the French ones, except the first four and the
// eighth, which read differently before the first switch.
std::array<QString, 16> StationState::initialStatusMessages()
{
    std::array<QString, 16> messages = statusMessages(Language::French);
    messages[statusIndex(StatusMessage::NoPortSelected)] =
        QStringLiteral("Pas de port sélectionné !");
    messages[statusIndex(StatusMessage::PortOpened)] = QStringLiteral(" connecté à 9600 bds");
    messages[statusIndex(StatusMessage::Initialising)] = QStringLiteral("Initialsation en cours");
    messages[statusIndex(StatusMessage::PortOpenError)] = QStringLiteral(" erreur connexion");
    messages[statusIndex(StatusMessage::IniFileError)] =
        QStringLiteral("Erreur création fichier .ini");
    return messages;
}

namespace {

// Sets `field` and emits `changed` when the value is new.
template <typename T>
void update(T &field, const T &value, StationState *state, void (StationState::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(state->*changed)();
}

} // namespace

void StationState::setLanguage(Language chosen)
{
    update(language, chosen, this, &StationState::languageChanged);
}

void StationState::setModel(const QString &name)
{
    update(ModelName, name, this, &StationState::modelChanged);
}

void StationState::setModelLabel(const QString &label)
{
    update(ModelLabel, label, this, &StationState::modelChanged);
}

void StationState::setBands(BandChoice choice)
{
    update(Bands, choice, this, &StationState::bandsChanged);
}

void StationState::setRigAnswering(bool answering)
{
    update(RigAnswering, answering, this, &StationState::rigChanged);
}

void StationState::setRigStatus(int status)
{
    update(RigStatus, status, this, &StationState::rigChanged);
}

void StationState::setPortStatus(int status)
{
    update(PortStatus, status, this, &StationState::rigChanged);
}

void StationState::setInitInProgress(bool inProgress)
{
    update(InitInProgress, inProgress, this, &StationState::rigChanged);
}

void StationState::setServerConnected(bool connected)
{
    const int status = connected ? 1 : 0;
    if (ServerConnected == connected && ServerStatus == status)
        return;
    ServerConnected = connected;
    ServerStatus = status;
    emit serverChanged();
}

void StationState::setActiveBand(int band)
{
    update(ActiveBand, band, this, &StationState::activeBandChanged);
}

void StationState::setCurrentFrequency(const QString &frequency)
{
    update(CurrentFrequency, frequency, this, &StationState::frequencyChanged);
}

void StationState::noteFilesIn(const QString &directory)
{
    QDir::setCurrent(directory);
    const QDir dir(directory);
    IniFileExists = QFileInfo::exists(dir.filePath(IniFileName));
    LogFileExists = QFileInfo::exists(dir.filePath(LogFileName));
    IniFileTMD700Exists = QFileInfo::exists(dir.filePath(IniFileNameTMD700));
    LogFileTMD700Exists = QFileInfo::exists(dir.filePath(LogFileNameTMD700));
    FolderWritable = ProgramFiles::isWritable(directory);
}
