#include "platform/VersionCheck.h"

#include "platform/VersionCheckFile.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace {
const QString RemotePath = QStringLiteral("/index_fichiers/versions.txt");
const QString LocalName = QStringLiteral("versions.txt");
} // namespace

VersionCheck::VersionCheck(const QString &directory, const QUrl &site, QObject *parent)
    : QObject(parent), site(site), m_directory(directory),
      m_network(new QNetworkAccessManager(this))
{
}

VersionCheck::~VersionCheck()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QString VersionCheck::localFilePath() const
{
    return QDir(m_directory).filePath(LocalName);
}

QUrl VersionCheck::fileUrl() const
{
    QUrl url = site;
    url.setPath(RemotePath);
    return url;
}

void VersionCheck::lookUp(const QString &key)
{
    if (m_reply)
        return;
    m_key = key;
    m_data.clear();
    m_tooLarge = false;

    QNetworkRequest request(fileUrl());
    // A stale copy from any cache on the way would hide a new release.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setTransferTimeout(transferTimeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionCheck::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &VersionCheck::onFinished);
}

void VersionCheck::onReadyRead()
{
    m_data += m_reply->readAll();
    if (m_data.size() > MaximumFileSize) {
        m_tooLarge = true;
        m_reply->abort(); // finished follows
    }
}

void VersionCheck::onFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_tooLarge)
        m_data += reply->readAll();

    const QString path = localFilePath();
    bool saved = false;
    if (!m_tooLarge && reply->error() == QNetworkReply::NoError) {
        QSaveFile file(path);
        saved =
            file.open(QIODevice::WriteOnly) && file.write(m_data) == m_data.size() && file.commit();
    }
    m_data.clear();
    if (!saved) {
        QFile::remove(path);
        emit finished(QString());
        return;
    }
    emit finished(VersionCheckFile::latestVersion(path, m_key));
}
