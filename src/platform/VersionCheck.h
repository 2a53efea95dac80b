#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Fetches the versions file from the maker's site into the program's folder and reads the
// latest published version from it. The download runs in the background; the window stays live.
class VersionCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaximumFileSize = 64 * 1024; // the real file is a few lines
    static constexpr int DefaultTransferTimeoutMs = 20000;

    VersionCheck(const QString &directory, const QUrl &site, QObject *parent = nullptr);
    ~VersionCheck() override;

    // Site asked for the versions file; tests point it at a local server.
    QUrl site;
    // A site that stops sending ends the look-up after this long without data.
    int transferTimeoutMs = DefaultTransferTimeoutMs;

    // Starts the look-up of `key`; `finished` follows with the version text, empty when it could
    // not be found. A look-up already running is left to finish and this call is ignored.
    void lookUp(const QString &key);
    bool isRunning() const { return !m_reply.isNull(); }

    QString localFilePath() const;
    QUrl fileUrl() const;

signals:
    void finished(const QString &version);

private:
    void onReadyRead();
    void onFinished();

    QString m_directory;
    QString m_key;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_data;
    bool m_tooLarge = false;
};
