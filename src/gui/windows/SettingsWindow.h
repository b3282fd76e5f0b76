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
    void Load();
    void Unload();
    // Shows the four edges of the hot region as the drop zone keeps them.
    void ShowHotRegionStatus();

    // Shows the window above the others.
    void Open();
    // Ticks or unticks the delete-mode box, as the password dialogs' hints do.
    void FlipDeleteSources();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEdge(int edge, bool on);
    void BuildMenu();
    QWidget* BuildOptionsPanel();
    QWidget* BuildEdgesPanel();
    void onTransparencyChanged(int value);
    void onShowEdgesClicked();
    void onEdgesDoneClicked();
    void onEdgeClicked(int edge);
    void onLanguagesChosen();
    void onManualChosen();
    void onLiveUpdateChosen();
    void onAboutChosen();

    QMenuBar* menuBar_ = nullptr;
    QAction* languagesAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* manualAction_ = nullptr;
    QAction* liveUpdateAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    QFrame* optionsPanel_ = nullptr;
    QCheckBox* deleteSourcesBox_ = nullptr;
    QCheckBox* fileTypeBox_ = nullptr;
    QCheckBox* hotRegionBox_ = nullptr;
    QCheckBox* sendToBox_ = nullptr;
    QLabel* transparencyLabel_ = nullptr;
    BarSlider* transparencySlider_ = nullptr;
    QPushButton* showEdgesButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QFrame* separatorLine_ = nullptr;

    QFrame* edgesPanel_ = nullptr;
    HotRegionPicture* edgesPicture_ = nullptr; // the four edge lines, edgesPicture_->lineColor(0..3)
    ClickLabel* edgeLabels_[kEdgeCount] = {nullptr, nullptr, nullptr, nullptr};
    QPushButton* edgesDoneButton_ = nullptr;

    QtUi& ui_;
    SettingsActions actions_;
    std::string statusCaption_[kEdgeCount]; // the language text each edge label shows
    bool unloaded_ = false;
};

} // namespace vaultwing
