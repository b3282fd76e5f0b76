#include "gui/windows/DropZoneWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "platform/HotRegionKeys.h"

namespace vaultwing {
namespace {

QRect PrimaryScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

qreal PrimaryScreenRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

} // namespace

DropZoneWindow::DropZoneWindow(QtUi& ui) : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), ui_(ui) {
    setObjectName(QStringLiteral("DropZoneWindow"));
    setWindowTitle(QStringLiteral("Vaultwing"));
    setWindowIcon(artwork::AppIcon());
    setFixedSize(kSize, kSize); // logical pixels: Qt scales them for high-density screens
    setAcceptDrops(true);
    BuildMenu();
    hotRegionTimer_ = new QTimer(this);
    hotRegionTimer_->setObjectName(QStringLiteral("hotRegionTimer"));
    hotRegionTimer_->setInterval(100);
    connect(hotRegionTimer_, &QTimer::timeout, this, &DropZoneWindow::onHotRegionTimer);
}

void DropZoneWindow::BuildMenu() {
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("contextMenu"));
    const auto item = [this](const char* name) {
        QAction* action = contextMenu_->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    settingsAction_ = item("settingsAction");
    contextMenu_->addSeparator();
    favouritesAction_ = item("favouritesAction");
    decryptFavouritesAction_ = item("decryptFavouritesAction");
    encryptFavouritesAction_ = item("encryptFavouritesAction");
    contextMenu_->addSeparator();
    aboutAction_ = item("aboutAction");
    contextMenu_->addSeparator();
    exitAction_ = item("exitAction");
    contextMenu_->setDefaultAction(exitAction_); // drawn bold

    // Windows that later parts of the program add stay disabled until they exist.

    connect(settingsAction_, &QAction::triggered, this, [this] {
        ui_.ShowHotRegionStatus();
        ui_.OpenOtherWindow(OtherWindow::Settings);
    });
    connect(favouritesAction_, &QAction::triggered, this, [this] { ui_.OpenOtherWindow(OtherWindow::Favourites); });
    connect(aboutAction_, &QAction::triggered, this, [this] { ui_.OpenOtherWindow(OtherWindow::About); });
    connect(decryptFavouritesAction_, &QAction::triggered, this,
            [this] { Guarded([&] { ui_.App().StartFavouritesBatch(RunDirection::Decrypt); }); });
    connect(encryptFavouritesAction_, &QAction::triggered, this,
            [this] { Guarded([&] { ui_.App().StartFavouritesBatch(RunDirection::Encrypt); }); });
    connect(exitAction_, &QAction::triggered, this, [this] { ui_.QuitApplication(); });
}

void DropZoneWindow::Load() {
    EnableFavouritesCommands(ui_.LoadFavouritesList());
    SetDragPointer(false);
    vaultwing::ShowInTaskbar(this, false);

    const QRect screen = PrimaryScreenGeometry();
    const qreal ratio = PrimaryScreenRatio();
    // The hot region compares these with the pointer in device pixels.
    desktopRight_ = qRound((screen.x() + screen.width()) * ratio);
    desktopBottom_ = qRound((screen.y() + screen.height()) * ratio);

    const Settings& settings = ui_.App().StoredSettings();
    hotRegion = ReadHotRegion(settings);
    SetHotRegionTimer(hotRegion.enabled);
    SetAlwaysOnTop(this, true, true);

    const long left = RestoredPosition(settings.Number(Setting::Left), long{screen.width()} * kTwipsPerPixel,
                                       long{width()} * kTwipsPerPixel);
    const long top = RestoredPosition(settings.Number(Setting::Top), long{screen.height()} * kTwipsPerPixel,
                                      long{height()} * kTwipsPerPixel);
    move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
    ApplyStoredTransparency();
}

void DropZoneWindow::ApplyStoredTransparency() {
    if (const auto alpha = vaultwing::LoadTransparency(ui_.App().StoredSettings())) SetTransparency(this, *alpha);
}

void DropZoneWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    SetTransparency(this, 0);
    hotRegionTimer_->stop();
    Settings& settings = ui_.App().StoredSettings();
    settings.SetNumber(Setting::Left, long{x()} * kTwipsPerPixel);
    settings.SetNumber(Setting::Top, long{y()} * kTwipsPerPixel);
    vaultwing::ShowTrayIcon(false);
    ui_.Unloaded(this);
}

void DropZoneWindow::closeEvent(QCloseEvent* event) {
    // Closing the drop zone (the window manager's close) is the regular end, as Exit is.
    event->ignore();
    if (!unloaded_) ui_.QuitApplication();
}

void DropZoneWindow::ShowDropZone() {
    vaultwing::ShowInTaskbar(this, false);
    show();
    SetAlwaysOnTop(this, true, true);
}

void DropZoneWindow::EnableFavouritesCommands(bool enabled) {
    decryptFavouritesAction_->setEnabled(enabled);
    encryptFavouritesAction_->setEnabled(enabled);
}

void DropZoneWindow::SetHotRegionTimer(bool enabled) {
    platform::WatchHotRegionKeys(enabled);
    if (enabled)
        hotRegionTimer_->start();
    else
        hotRegionTimer_->stop();
}

void DropZoneWindow::SetDragPointer(bool dragging) {
    setCursor(dragging ? artwork::DragPointer() : artwork::NormalPointer());
}

void DropZoneWindow::PopupContextMenu(const QPoint& globalPosition) {
    activateWindow();
    contextMenu_->popup(globalPosition);
}

void DropZoneWindow::onTrayIconClicked(TrayClick click) {
    // A tray event must not be handled inside another one.
    if (trayBusy_) return;
    trayBusy_ = true;
    if (click == TrayClick::Left) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        if (!isVisible()) {
            vaultwing::ShowInTaskbar(this, false);
            show();
        }
        SetAlwaysOnTop(this, true, true);
    } else {
        PopupContextMenu(QCursor::pos());
    }
    trayBusy_ = false;
}

void DropZoneWindow::onHotRegionTimer() {
    HotRegionInput input;
    input.escape = platform::AsyncKeyDown(platform::kVkEscape);
    input.control = platform::AsyncKeyDown(platform::kVkControl);
    input.shift = platform::AsyncKeyDown(platform::kVkShift);
    if (input.control && input.shift) input.cursor = platform::CursorPosition();
    input.desktopRight = desktopRight_;
    input.desktopBottom = desktopBottom_;
    input.mainVisible = isVisible();
    const HotRegionStep step = HotRegionTick(hotRegion, input);
    if (step.hide) hide();
    if (step.show) ShowDropZone();
}

void DropZoneWindow::onFilesDropped(const std::vector<std::string>& paths) {
    ui_.App().DropPaths(paths);
}

void DropZoneWindow::onDoubleClicked() {
    // Hidden, the drop zone comes back through the tray icon; without one it stays, or the
    // user could not reach the program any more.
    if (TrayIconShown()) hide();
}

// ---------------------------------------------------------------------------------------------
// Qt events
// ---------------------------------------------------------------------------------------------

void DropZoneWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    artwork::PaintDropZone(painter, QRectF(rect()));
    // A thin frame, as the window system would draw a fixed single border.
    painter.setPen(QPen(QColor(0x11, 0x2a, 0x66), 1));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void DropZoneWindow::mousePressEvent(QMouseEvent* event) {
    if (dragButton_ != Qt::NoButton) return;
    dragButton_ = event->button();
    pressGlobal_ = event->globalPosition().toPoint();
    pressWindowPos_ = pos();
    dragging_ = false;
    manualMove_ = false;
    SetDragPointer(true);
}

void DropZoneWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragButton_ == Qt::NoButton) return;
    const QPoint global = event->globalPosition().toPoint();
    if (!dragging_) {
        if ((global - pressGlobal_).manhattanLength() < QApplication::startDragDistance()) return;
        dragging_ = true;
        // The window system moves the window for the left button where it can. Every other
        // button is moved here: window managers end their move on a left release only (a middle
        // drag would follow the pointer until the next left click), and the right button's
        // release, which opens the menu, must come back to this window.
        if (dragButton_ == Qt::LeftButton && windowHandle() != nullptr && windowHandle()->startSystemMove()) {
            EndDrag();
            return;
        }
        manualMove_ = true;
    }
    if (manualMove_) move(pressWindowPos_ + (global - pressGlobal_));
}

void DropZoneWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != dragButton_) return;
    const bool right = dragButton_ == Qt::RightButton;
    EndDrag();
    if (right) PopupContextMenu(event->globalPosition().toPoint());
}

void DropZoneWindow::EndDrag() {
    dragButton_ = Qt::NoButton;
    dragging_ = false;
    manualMove_ = false;
    SetDragPointer(false);
}

void DropZoneWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) onDoubleClicked();
}

void DropZoneWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!mime->hasUrls() || mime->urls().isEmpty()) return;
    for (const QUrl& url : mime->urls())
        if (!url.isLocalFile()) return;
    (void)AcceptAsCopy(event);
}

void DropZoneWindow::dragMoveEvent(QDragMoveEvent* event) {
    (void)AcceptAsCopy(event);
}

void DropZoneWindow::dropEvent(QDropEvent* event) {
    if (!AcceptAsCopy(event)) return;
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(DroppedPath(url));
    if (paths.empty()) return;
    // The drop ends first, so the program the files came from does not wait for the folder walk.
    QTimer::singleShot(0, this, [this, paths] { Guarded([&] { onFilesDropped(paths); }); });
}

} // namespace vaultwing
