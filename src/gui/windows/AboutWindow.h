#pragma once
// The about window: a scrolling credits line, links to the website and the contact form, and
// the live-update check through the download component.
#include <QWidget>
#include <string>

#include "about/VersionCheck.h"

class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

namespace vaultwing {

class ClickLabel;
class Downloader;
class MarqueeBox;
class QtUi;

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    // Owned by the drop zone when it is loaded.
    explicit AboutWindow(QtUi& ui);

    void Load();
    void Unload();
    // Shows the window and starts its scrolling credits line.
    void Open();
    // Downloads the version file into the program folder; onVersionFileDownloaded decides.
    void StartLiveUpdate();

    // The web server of the links and the live update (tests name a local one).
    std::string server = kUpdateServer;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onMarqueeTimer();
    void onOkClicked();
    void onWebsiteClicked();
    void onContactClicked();
    void onVersionFileDownloaded(qint64 bytes);

    MarqueeBox* marqueeBox_ = nullptr;
    QTimer* marqueeTimer_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QToolButton* liveUpdateButton_ = nullptr;
    QToolButton* contactButton_ = nullptr;
    ClickLabel* websiteLink_ = nullptr;
    Downloader* liveUpdateDownloader_ = nullptr;
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
