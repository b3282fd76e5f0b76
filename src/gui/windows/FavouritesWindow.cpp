#include "gui/windows/FavouritesWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/widgets/FileDropList.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"

namespace vaultwing {

FavouritesWindow::FavouritesWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Window), ui_(ui), list_(ui.App().state, ui, ui.App().lists) {
    setObjectName(QStringLiteral("FavouritesWindow"));
    setWindowIcon(artwork::AppIcon());

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuFavSettings = menuBar->addMenu(QString());
    // The caption a menu bar shows is its menu action's text.
    mnuFavSettings->menuAction()->setObjectName(QStringLiteral("mnuFavSettings"));
    mnuPath = mnuFavSettings->addAction(QString());
    mnuPath->setObjectName(QStringLiteral("mnuPath"));
    mnuPath->setCheckable(true);
    connect(mnuPath, &QAction::triggered, this, [this] { mnuPath_Click(); });

    mnuKontext = new QMenu(this);
    mnuKontext->setObjectName(QStringLiteral("mnuKontext"));
    mnuDelete = mnuKontext->addAction(QString());
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    mnuKontext->setDefaultAction(mnuDelete); // drawn bold
    connect(mnuDelete, &QAction::triggered, this, [this] { mnuDelete_Click(); });

    lstFavoriten = new FileDropList(this);
    lstFavoriten->setObjectName(QStringLiteral("lstFavoriten"));
    connect(lstFavoriten, &FileDropList::filesDropped, this, [this](const std::vector<std::string>& paths) {
        // The drop ends first, so the file manager does not wait for a folder walk.
        QTimer::singleShot(0, this, [this, paths] { lstFavoriten_OLEDragDrop(paths); });
    });
    connect(lstFavoriten, &FileDropList::deletePressed, this, [this] { ListboxDelSel(); });
    connect(lstFavoriten, &FileDropList::rightPressed, this, [this](const QPoint& at) { lstFavoriten_MouseDown(at); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstFavoriten);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kMinWidth, kMinHeight);
}

void FavouritesWindow::Form_Load() {
    ui_.ApplyLanguage();
    SetAlwaysOnTop(this, -1, 0);
    list_.Load();
    mnuPath->setChecked(list_.Relative());
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
    lstFavoriten->clear();
    for (const std::string& entry : list_.Entries())
        lstFavoriten->addItem(QString::fromStdString(entry));
}

void FavouritesWindow::lstFavoriten_OLEDragDrop(const std::vector<std::string>& paths) {
    Guarded([&] { list_.Drop(paths); });
    Refill();
}

void FavouritesWindow::lstFavoriten_MouseDown(const QPoint& globalPosition) {
    activateWindow();
    mnuKontext->popup(globalPosition);
}

void FavouritesWindow::mnuPath_Click() {
    Guarded([&] { (void)list_.SwitchPathMode(); });
    mnuPath->setChecked(list_.Relative());
    Refill();
}

void FavouritesWindow::mnuDelete_Click() {
    ListboxDelSel();
}

void FavouritesWindow::ListboxDelSel() {
    std::vector<int> selected;
    for (int i = 0; i < lstFavoriten->count(); ++i)
        if (lstFavoriten->item(i)->isSelected()) selected.push_back(i);
    list_.DeleteSelected(selected);
    Refill();
}

bool FavouritesWindow::SaveFavoriten() {
    return list_.Save();
}

void FavouritesWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void FavouritesWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    (void)SaveFavoriten();
    ui_.Unloaded(this);
}

} // namespace vaultwing
