#pragma once
// The download component: fetches a web address into a file in the background and reports the
// end with one Completed signal. Used by the about window's live-update check (dlLiveUpdate).
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

    // Starts downloading `sWWWFile` (always fresh from the server, never from a cache) into a
    // temporary file and returns at once. When the download ends the file is moved to
    // `sDestination` (an existing file there is never replaced) and Completed is raised for
    // `sID`, exactly once. A download that is still running under the same `sID` goes on and
    // this request is dropped, so one check never reports twice.
    void Download(const QString& sWWWFile, const QString& sDestination, const QString& sID = QString());

    // Stops the download running under `sID`; it then completes with 0 bytes.
    void CancelDownload(const QString& sID);

    // Seconds without any data before a download is given up (0: never).
    void SetStallTimeout(int seconds) { stallTimeoutSeconds_ = seconds; }

signals:
    // Bytes so far and the expected total (-1 when the server did not say).
    void Progress(qint64 DownLoadedBytes, qint64 TotalBytes, const QString& sID);
    // The download has ended. `Bytes` is what arrived at `sDestination`; 0 when the download or
    // the move failed, was cancelled or the server answered with an error.
    void Completed(qint64 Bytes, const QString& sID);

private:
    struct Job {
        QString destination;
        QNetworkReply* reply = nullptr;
        QTemporaryFile* file = nullptr; // owned by the job
        qint64 bytes = 0;
        bool failed = false;
    };

    void OnReadyRead(const QString& sID);
    void OnFinished(const QString& sID);
    // Ends `sID`'s job and raises Completed with `bytes`, unless it has ended already.
    void Finish(const QString& sID, qint64 bytes);

    QNetworkAccessManager* network_ = nullptr;
    QHash<QString, Job> jobs_; // sID -> running download
    int stallTimeoutSeconds_ = 30;
};

} // namespace vaultwing
