#include "gui/Downloader.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QTimer>

namespace vaultwing {
namespace {

constexpr qint64 kSizeLimit = 64 * 1024;

// A temporary file in the destination's folder, so the final move is a rename on one file
// system; the system's temporary folder when that folder cannot take it.
QTemporaryFile* OpenTemporaryFileFor(const QString& destination, QObject* parent) {
    const QString folders[] = {QFileInfo(destination).absolutePath(), QDir::tempPath()};
    for (const QString& folder : folders) {
        auto* file = new QTemporaryFile(folder + QStringLiteral("/.vaultwing-download-XXXXXX"), parent);
        if (file->open()) return file;
        delete file;
    }
    return nullptr;
}

} // namespace

Downloader::Downloader(QObject* parent) : QObject(parent), network_(new QNetworkAccessManager(this)) {}

Downloader::~Downloader() {
    // Nobody listens any more: stop quietly, the temporary files go with their jobs.
    for (auto& job : jobs_) {
        job.reply->disconnect(this);
        job.reply->abort();
        delete job.reply;
        delete job.file;
    }
}

void Downloader::Download(const QString& url, const QString& destination, const QString& id) {
    if (jobs_.contains(id)) return;

    Job job;
    job.destination = destination;
    job.file = OpenTemporaryFileFor(destination, nullptr);
    if (job.file == nullptr) {
        // Nothing could be started; the caller still hears of the end, as for any failure.
        QTimer::singleShot(0, this, [this, id] { emit Completed(0, id); });
        return;
    }

    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    if (stallTimeoutSeconds_ > 0) request.setTransferTimeout(stallTimeoutSeconds_ * 1000);
    job.reply = network_->get(request);
    jobs_.insert(id, job);

    connect(job.reply, &QNetworkReply::readyRead, this, [this, id] { OnReadyRead(id); });
    connect(job.reply, &QNetworkReply::downloadProgress, this,
            [this, id](qint64 received, qint64 total) { emit Progress(received, total, id); });
    connect(job.reply, &QNetworkReply::finished, this, [this, id] { OnFinished(id); });
}

void Downloader::CancelDownload(const QString& id) {
    const auto it = jobs_.find(id);
    if (it != jobs_.end()) it->reply->abort(); // finished follows, and with it Completed(0)
}

void Downloader::OnReadyRead(const QString& id) {
    const auto it = jobs_.find(id);
    if (it == jobs_.end() || it->failed) return;
    const QByteArray data = it->reply->readAll();
    // Flushed at once so a full disk shows here, and the file on disk follows the download.
    if (it->bytes + data.size() > kSizeLimit || it->file->write(data) != data.size() || !it->file->flush()) {
        it->failed = true;
        it->reply->abort();
        return;
    }
    it->bytes += data.size();
}

void Downloader::OnFinished(const QString& id) {
    const auto it = jobs_.find(id);
    if (it == jobs_.end()) return;
    OnReadyRead(id); // whatever is still buffered

    const QVariant status = it->reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An error page is not the file that was asked for.
    const bool httpOk = !status.isValid() || (status.toInt() >= 200 && status.toInt() < 300);
    bool ok = !it->failed && it->reply->error() == QNetworkReply::NoError && httpOk && it->bytes > 0;
    ok = ok && it->file->flush();
    if (ok) {
        // QFile::rename never replaces an existing file: a version file already lying there is
        // left as it is, and this download counts as failed rather than reporting its bytes.
        ok = it->file->rename(it->destination);
        if (ok) it->file->setAutoRemove(false);
    }
    Finish(id, ok ? it->bytes : 0);
}

void Downloader::Finish(const QString& id, qint64 bytes) {
    const auto it = jobs_.find(id);
    if (it == jobs_.end()) return;
    Job job = *it;
    jobs_.erase(it);
    job.reply->deleteLater();
    delete job.file; // removes the temporary file unless it became the destination
    emit Completed(bytes, id);
}

} // namespace vaultwing
