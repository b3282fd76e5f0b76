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

    void Form_Load();
    void Form_Unload();

    void tmrLaufschrift_Timer();
    void cmdOK_Click();
    void lblURL_Click();
    void pbEmail_Click();
    void pbLiveUpdate_Click();
    // Downloads the version file into the program folder; dlLiveUpdate_Completed decides.
    void StartLiveUpdate();
    void dlLiveUpdate_Completed(qint64 bytes);

    // The web server of the links and the live update (tests name a local one).
    std::string server = kUpdateServer;

    MarqueeBox* picLaufschrift = nullptr;
    QTimer* tmrLaufschrift = nullptr;
    QPushButton* cmdOK = nullptr;
    QToolButton* pbLiveUpdate = nullptr;
    QToolButton* pbEmail = nullptr;
    ClickLabel* lblURL = nullptr;
    Downloader* dlLiveUpdate = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
