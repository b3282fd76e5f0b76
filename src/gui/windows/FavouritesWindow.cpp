#include "gui/windows/FavouritesWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/FileDropList.h"

namespace vaultwing {

FavouritesWindow::FavouritesWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Window), ui_(ui), list_(ui.App().MakeFavouritesList()) {
    setObjectName(QStringLiteral("FavouritesWindow"));
    setWindowIcon(artwork::AppIcon());

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    settingsMenu_ = menuBar_->addMenu(QString());
    // The caption a menu bar shows is its menu action's text.
    settingsMenu_->menuAction()->setObjectName(QStringLiteral("settingsMenu"));
    relativePathsAction_ = settingsMenu_->addAction(QString());
    relativePathsAction_->setObjectName(QStringLiteral("relativePathsAction"));
    relativePathsAction_->setCheckable(true);
    connect(relativePathsAction_, &QAction::triggered, this, [this] { onRelativePathsToggled(); });

    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("contextMenu"));
    deleteAction_ = contextMenu_->addAction(QString());
    deleteAction_->setObjectName(QStringLiteral("deleteAction"));
    contextMenu_->setDefaultAction(deleteAction_); // drawn bold
    connect(deleteAction_, &QAction::triggered, this, [this] { DeleteSelected(); });

    favouritesList_ = new FileDropList(this);
    favouritesList_->setObjectName(QStringLiteral("favouritesList"));
    connect(favouritesList_, &FileDropList::filesDropped, this, [this](const std::vector<std::string>& paths) {
        // The drop ends first, so the file manager does not wait for a folder walk.
        QTimer::singleShot(0, this, [this, paths] { onFilesDropped(paths); });
    });
    connect(favouritesList_, &FileDropList::deletePressed, this, [this] { DeleteSelected(); });
    connect(favouritesList_, &FileDropList::rightPressed, this, [this](const QPoint& at) { onRightPressed(at); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(favouritesList_);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kMinWidth, kMinHeight);
    CloseOnEscape(this);
}

void FavouritesWindow::Load() {
    ui_.ApplyLanguage();
    SetAlwaysOnTop(this, true, false);
    list_.Load();
    relativePathsAction_->setChecked(list_.Relative());
    favouritesList_->setAccessibleName(windowTitle());
    Refill();
}

void FavouritesWindow::Open() {
    show();
    raise();
    activateWindow();
}

int FavouritesWindow::ListCount() const {
    return static_cast<int>(list_.Entries().size());
}

void FavouritesWindow::Refill() {
    favouritesList_->clear();
    for (const std::string& entry : list_.Entries())
        favouritesList_->addItem(QString::fromStdString(entry));
}

void FavouritesWindow::onFilesDropped(const std::vector<std::string>& paths) {
    Guarded([&] { list_.Drop(paths); });
    Refill();
}

void FavouritesWindow::onRightPressed(const QPoint& globalPosition) {
    activateWindow();
    contextMenu_->popup(globalPosition);
}

void FavouritesWindow::onRelativePathsToggled() {
    Guarded([&] { (void)list_.SwitchPathMode(); });
    relativePathsAction_->setChecked(list_.Relative());
    favouritesList_->setAccessibleName(windowTitle());
    Refill();
}

void FavouritesWindow::DeleteSelected() {
    std::vector<int> selected;
    for (int i = 0; i < favouritesList_->count(); ++i)
        if (favouritesList_->item(i)->isSelected()) selected.push_back(i);
    list_.DeleteSelected(selected);
    Refill();
}

void FavouritesWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

void FavouritesWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    (void)list_.Save();
    ui_.Unloaded(this);
}

} // namespace vaultwing
