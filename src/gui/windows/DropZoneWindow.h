#pragma once
// The drop zone: a small frameless square above all other windows. Files and folders dropped
// on it go to the job lists; any mouse button drags it; the right button then opens its menu;
// a double-click hides it into the notification area.
#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

#include "app/DropZone.h"
#include "gui/WindowRoutines.h"

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

    void Load();
    // The drop zone's part of the regular end: invisible at once, position saved, tray icon
    // removed. QtUi::QuitApplication unloads the other windows and ends the program.
    void Unload();
    // A left click on the notification-area icon brings the drop zone back; a context click
    // opens its menu.
    void onTrayIconClicked(TrayClick click);

    // Shows the drop zone: no taskbar button, visible, topmost.
    void ShowDropZone();
    void PopupContextMenu(const QPoint& globalPosition);
    void EnableFavouritesCommands(bool enabled);

    // The hot region as the settings window keeps it (in memory; it writes the file itself).
    HotRegion hotRegion;
    void SetHotRegionTimer(bool enabled);

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
    void onHotRegionTimer();
    void onFilesDropped(const std::vector<std::string>& paths);
    void onDoubleClicked();
    void SetDragPointer(bool dragging);
    void ApplyStoredTransparency();

    QMenu* contextMenu_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* favouritesAction_ = nullptr;
    QAction* decryptFavouritesAction_ = nullptr;
    QAction* encryptFavouritesAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QTimer* hotRegionTimer_ = nullptr;

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
