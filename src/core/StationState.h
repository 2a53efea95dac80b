#pragma once

#include "core/LanguageTexts.h"
#include "core/StatusMessage.h"
#include "core/VersionCheckSite.h"
#include "platform/ProgramFiles.h"

#include <QObject>
#include <QString>
#include <array>

// The station's process-wide variables. One instance is owned by the application object and
// handed by reference to the parts that need it. Names follow the station-state table so that
// the operations read like their description. What a view or the status report shows is written
// through a setter, which says what changed; the rest are plain fields.
struct StationState : public QObject
{
    Q_OBJECT
public:
    StationState() = default;

    QString VersionText = QStringLiteral("2.1.4");
    // The windows' language (LANGUAGE=), as the Language menu chose it.
    Language language = Language::French;

    QString IniFileNameTMD700 = QString::fromLatin1(ProgramFiles::EarlierConfigurationFile);
    QString IniFileName = QString::fromLatin1(ProgramFiles::ConfigurationFile);
    QString IniBackupFileName = QStringLiteral("Ivrelane.~in");
    QString LogFileNameTMD700 = QString::fromLatin1(ProgramFiles::EarlierLogFile);
    QString LogFileName = QString::fromLatin1(ProgramFiles::LogFile);

    // Makes `directory` current and notes which of the four files exist there and whether it
    // can be written.
    void noteFilesIn(const QString &directory);
    // Whether each file existed when the program started; never recomputed.
    bool IniFileExists = false;
    bool LogFileExists = false;
    bool IniFileTMD700Exists = false;
    bool LogFileTMD700Exists = false;
    bool FolderWritable = true; // false: nothing read there can be saved again

    bool StartupDone = false;
    QString ModelLabel = QStringLiteral("TMD700 ");
    QString ModelName = QStringLiteral("TX16UD");

    qint32 LptBase = 0;
    qint32 LptControlValue = 0;

    bool RigAnswering = true;
    int ActiveBand = 0; // 0 = band A, 1 = band B
    // The "Bande" menu: the band the panel and the codes may use, or both.
    enum class BandChoice { A, B, Both };
    BandChoice Bands = BandChoice::Both;
    bool bandAllowed(int band) const
    {
        return Bands == BandChoice::Both || (band == 1) == (Bands == BandChoice::B);
    }
    bool VfoModeA = false;
    bool MemModeA = false;
    bool VfoModeB = false;
    bool MemModeB = false;
    bool InitInProgress = false;
    QString CurrentFrequency = QStringLiteral("145.225000");
    // The simulated frequency's window is open: its frequency stands for the radio's.
    bool FrequencySimulated = false;
    qint32 NumberOfMemories = 199;
    qint32 PowerA = -1;
    qint32 PowerB = -1;

    int PortStatus = -1;  // -1 not yet opened, 0 opening failed, 1 open
    int RigStatus = 0;    // 0 no answer, 1 answer OK, 2 initialising, 3 initialised
    int ServerStatus = 0; // 0 not connected, 1 connected
    bool ServerConnected = false;

    // Indices 1 to 15; index 0 is unused so the numbers match the texts' own numbering.
    // statusMessage() reads one by name.
    std::array<QString, 16> StatusMessages = initialStatusMessages();
    const QString &statusMessage(StatusMessage message) const
    {
        return StatusMessages[statusIndex(message)];
    }

    QString DtmfReceived;
    int DtmfState = 0;
    QString DtmfParameter;
    QString DtmfLastChars;
    QString MemoryNumberText;
    QString RigReply;
    QString VfoBandA;
    QString VfoBandB;

    int Tx16Channel = 1;
    int Tx16BaseChannel = 8;
    int Tx16TargetChannel = 0;
    int Tx16Tempo = 500;
    bool Tx16ScanUp = true;
    bool Tx16Resync = false;

    QString NewVersionMessage =
        QStringLiteral("Une version plus récente est disponible sur ") + makerSiteAddress();
    bool CheckVersionAtStart = false;

    // Longest transmission before the station unkeys by itself; 0 = no limit.
    int TxTimeoutSeconds = 300;
    // After a transmit time-out the server cannot key again until it has sent a receive request
    // (or someone keys by hand): a server stuck on TRANSMIT must not defeat the time-out.
    bool TxLockedOut = false;

    static std::array<QString, 16> initialStatusMessages();

    void setLanguage(Language chosen);
    void setModel(const QString &name);
    void setModelLabel(const QString &label);
    void setBands(BandChoice choice);
    void setRigAnswering(bool answering);
    void setRigStatus(int status);
    void setPortStatus(int status);
    void setInitInProgress(bool inProgress);
    // ServerConnected and ServerStatus together.
    void setServerConnected(bool connected);
    void setActiveBand(int band);
    void setCurrentFrequency(const QString &frequency);

signals:
    void languageChanged();
    // ModelName or ModelLabel.
    void modelChanged();
    void bandsChanged();
    // RigAnswering, RigStatus, PortStatus or InitInProgress.
    void rigChanged();
    void serverChanged();
    void activeBandChanged();
    void frequencyChanged();
};
