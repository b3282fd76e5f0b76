#pragma once
// The settings window: delete mode, file-type association, hot region and Send To entry as
// check boxes, the drop zone's transparency as a slider, the hot region's screen edges on a
// second panel, and a menu to the language window, the manual, the live update and the about
// window. Every change is applied and written at once; closing writes nothing.
#include <QWidget>
#include <string>

#include "app/SettingsActions.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace vaultwing {

class BarSlider;
class ClickLabel;
class HotRegionPicture;
class QtUi;

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(QtUi& ui);

    // Load steps: language texts, transparency, centred, then the four boxes ticked from the
    // settings (each tick runs the box's action).
    void Form_Load();
    void Form_Unload();
    // Shows the four edges of the hot region as the drop zone keeps them.
    void ShowHotRegionStatus();

    void hsbTransparent_Change(int value);
    void cmdHotRegionSet_Click();
    void cmdHotRegionOK_Click();
    void lblStatus_Click(int edge);
    void mnuSprachen_Click();
    void mnuHilfe_Click();
    void mnuLiveUpdate_Click();
    void mnuInfoAbout_Click();

    QMenuBar* menuBar = nullptr;
    QAction* mnuSprachen = nullptr;
    QMenu* mnuInfo = nullptr;
    QAction* mnuHilfe = nullptr;
    QAction* mnuLiveUpdate = nullptr;
    QAction* mnuInfoAbout = nullptr;

    QFrame* fraForm = nullptr;
    QCheckBox* chkFileDel = nullptr;
    QCheckBox* chkRegister = nullptr;
    QCheckBox* chkHotRegion = nullptr;
    QCheckBox* chkSendTo = nullptr;
    QLabel* lblTransparenz = nullptr;
    BarSlider* hsbTransparent = nullptr;
    QPushButton* cmdHotRegionSet = nullptr;
    QPushButton* cmdSettingsOK = nullptr;
    QLabel* lblHinweis = nullptr;
    QFrame* Line1 = nullptr;

    QFrame* fraSettings = nullptr;
    HotRegionPicture* Linie = nullptr; // the four edge lines, Linie->lineColor(0..3)
    ClickLabel* lblStatus[kEdgeCount] = {nullptr, nullptr, nullptr, nullptr};
    QPushButton* cmdHotRegionOK = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEdge(int edge, bool on);
    void BuildMenu();
    QWidget* BuildOptionsPanel();
    QWidget* BuildEdgesPanel();

    QtUi& ui_;
    SettingsActions actions_;
    std::string statusCaption_[kEdgeCount]; // the language text each edge label shows
    bool unloaded_ = false;
};

} // namespace vaultwing
