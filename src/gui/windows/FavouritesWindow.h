#pragma once
// The favourites window: the sorted list of favourite files, filled by dropping files and
// folders on it, entries deleted with the Delete key or the context menu, and a menu item that
// switches between absolute and relative entries. The list is saved when the window unloads.
#include <QWidget>
#include <string>
#include <vector>

#include "favourites/FavouritesList.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vaultwing {

class FileDropList;
class QtUi;

class FavouritesWindow : public QWidget {
    Q_OBJECT
public:
    explicit FavouritesWindow(QtUi& ui);

    // 7500 × 4000 twips.
    static constexpr int kMinWidth = 500;
    static constexpr int kMinHeight = 267;

    void Load();
    // Saves the list and unloads the window.
    void Unload();
    void Open();
    [[nodiscard]] int ListCount() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onFilesDropped(const std::vector<std::string>& paths);
    void onRightPressed(const QPoint& globalPosition);
    void onRelativePathsToggled();
    // Removes every selected entry.
    void DeleteSelected();
    // Shows the list as the core keeps it.
    void Refill();

    QMenuBar* menuBar_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
    QAction* relativePathsAction_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QAction* deleteAction_ = nullptr;
    FileDropList* favouritesList_ = nullptr;

    QtUi& ui_;
    FavouritesList list_;
    bool unloaded_ = false;
};

} // namespace vaultwing
