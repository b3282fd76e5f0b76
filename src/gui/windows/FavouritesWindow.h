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

    void Form_Load();
    // Saves the list (SaveFavoriten) and unloads the window.
    void Form_Unload();
    void Open();
    [[nodiscard]] int ListCount() const;

    void lstFavoriten_OLEDragDrop(const std::vector<std::string>& paths);
    void lstFavoriten_MouseDown(const QPoint& globalPosition);
    void mnuPath_Click();
    void mnuDelete_Click();
    // Removes every selected entry.
    void ListboxDelSel();
    bool SaveFavoriten();

    QMenuBar* menuBar = nullptr;
    QMenu* mnuFavSettings = nullptr;
    QAction* mnuPath = nullptr;
    QMenu* mnuKontext = nullptr;
    QAction* mnuDelete = nullptr;
    FileDropList* lstFavoriten = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows the list as the core keeps it.
    void Refill();

    QtUi& ui_;
    FavouritesList list_;
    bool unloaded_ = false;
};

} // namespace vaultwing
