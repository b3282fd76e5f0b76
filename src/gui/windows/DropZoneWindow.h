#pragma once
// The drop zone: a small frameless square above all other windows. Files and folders dropped
// on it go to the job lists; any mouse button drags it; the right button then opens its menu;
// a double-click hides it into the notification area.
#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

#include "app/DropZone.h"

class QAction;
class QMenu;
class QTimer;

namespace vaultwing {

class QtUi;

class DropZoneWindow : public QWidget {
    Q_OBJECT
public:
    explicit DropZoneWindow(QtUi& ui);

    // Size of the drop zone's client area in pixels at 96 dots per inch (870 twips).
    static constexpr int kSize = 58;

    void Form_Load();
    // The drop zone's part of the regular end: invisible at once, position saved, tray icon
    // removed. QtUi::QuitApplication unloads the other windows and ends the program.
    void Form_Unload();
    // Notification-area icon events: 514 left button released, 517 right button released.
    void Form_MouseMove(int message);
    void tmrHotRegion_Timer();
    void LoadTransparency();
    // Ind not 0: the dragging pointer; 0: the normal pointer.
    void picDropZone_MouseIcon(int ind);
    void picDropZone_OLEDragDrop(const std::vector<std::string>& paths);
    void picDropZone_DblClick();

    // Shows the drop zone: no taskbar button, visible, topmost.
    void ShowDropZone();
    void PopupContextMenu(const QPoint& globalPosition);
    void EnableFavouritesCommands(bool enabled);

    // The hot region as the settings window keeps it (in memory; it writes the file itself).
    HotRegion hotRegion;
    void SetHotRegionTimer(bool enabled);

    QMenu* mnuKontext = nullptr;
    QAction* mnuSettings = nullptr;
    QAction* mnuFavoriten = nullptr;
    QAction* mnuFavoritenDec = nullptr;
    QAction* mnuFavoritenEnc = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuExit = nullptr;
    QTimer* tmrHotRegion = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void EndDrag();

    QtUi& ui_;
    int desktopRight_ = 0;
    int desktopBottom_ = 0;
    bool trayBusy_ = false;
    bool unloaded_ = false;

    // A drag in progress: the button, where it started, and whether the window follows the
    // pointer itself (where the window system cannot move it).
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
    bool dragging_ = false;
    bool manualMove_ = false;
};

} // namespace vaultwing
