#pragma once
// The download component: fetches a web address into a file in the background and reports the
// end with one Completed signal. Used by the about window's live-update check.
#include <QHash>
#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;

namespace vaultwing {

class Downloader : public QObject {
    Q_OBJECT

public:
    explicit Downloader(QObject* parent = nullptr);
    ~Downloader() override;
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    // Starts downloading `url` (always fresh from the server, never from a cache) into a
    // temporary file and returns at once. When the download ends the file is moved to
    // `destination` (an existing file there is never replaced) and Completed is raised for
    // `id`, exactly once. A download that is still running under the same `id` goes on and
    // this request is dropped, so one check never reports twice. A download that grows past
    // 64 KiB is stopped and completes with 0 bytes: the files fetched are small, and a server
    // must not fill the disk.
    void Download(const QString& url, const QString& destination, const QString& id = QString());

    // Stops the download running under `id`; it then completes with 0 bytes.
    void CancelDownload(const QString& id);

    // Seconds without any data before a download is given up (0: never).
    void SetStallTimeout(int seconds) { stallTimeoutSeconds_ = seconds; }

signals:
    // Bytes so far and the expected total (-1 when the server did not say).
    void Progress(qint64 bytesReceived, qint64 bytesTotal, const QString& id);
    // The download has ended. `bytes` is what arrived at `destination`; 0 when the download or
    // the move failed, was cancelled or the server answered with an error.
    void Completed(qint64 bytes, const QString& id);

private:
    struct Job {
        QString destination;
        QNetworkReply* reply = nullptr;
        QTemporaryFile* file = nullptr; // owned by the job
        qint64 bytes = 0;
        bool failed = false;
    };

    void OnReadyRead(const QString& id);
    void OnFinished(const QString& id);
    // Ends `id`'s job and raises Completed with `bytes`, unless it has ended already.
    void Finish(const QString& id, qint64 bytes);

    QNetworkAccessManager* network_ = nullptr;
    QHash<QString, Job> jobs_; // id -> running download
    int stallTimeoutSeconds_ = 30;
};

} // namespace vaultwing
