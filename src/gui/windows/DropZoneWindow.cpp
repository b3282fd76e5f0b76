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

std::string LocalPath(const QUrl& url) {
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.toStdString();
}

} // namespace

DropZoneWindow::DropZoneWindow(QtUi& ui) : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), ui_(ui) {
    setObjectName(QStringLiteral("DropZoneWindow"));
    setWindowTitle(QStringLiteral("Vaultwing"));
    setWindowIcon(artwork::AppIcon());
    setFixedSize(kSize, kSize); // logical pixels: Qt scales them for high-density screens
    setAcceptDrops(true);
    BuildMenu();
    tmrHotRegion = new QTimer(this);
    tmrHotRegion->setObjectName(QStringLiteral("tmrHotRegion"));
    tmrHotRegion->setInterval(100);
    connect(tmrHotRegion, &QTimer::timeout, this, &DropZoneWindow::tmrHotRegion_Timer);
}

void DropZoneWindow::BuildMenu() {
    mnuKontext = new QMenu(this);
    mnuKontext->setObjectName(QStringLiteral("mnuKontext"));
    const auto item = [this](const char* name) {
        QAction* action = mnuKontext->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnuSettings = item("mnuSettings");
    mnuKontext->addSeparator()->setObjectName(QStringLiteral("Seperator1"));
    mnuFavoriten = item("mnuFavoriten");
    mnuFavoritenDec = item("mnuFavoritenDec");
    mnuFavoritenEnc = item("mnuFavoritenEnc");
    mnuKontext->addSeparator()->setObjectName(QStringLiteral("Seperator2"));
    mnuAbout = item("mnuAbout");
    mnuKontext->addSeparator()->setObjectName(QStringLiteral("Seperator3"));
    mnuExit = item("mnuExit");
    mnuKontext->setDefaultAction(mnuExit); // drawn bold

    // Windows that later parts of the program add stay disabled until they exist.
    mnuSettings->setEnabled(ui_.OtherWindowAvailable(OtherWindow::Settings));
    mnuFavoriten->setEnabled(ui_.OtherWindowAvailable(OtherWindow::Favourites));
    mnuAbout->setEnabled(ui_.OtherWindowAvailable(OtherWindow::About));

    connect(mnuSettings, &QAction::triggered, this, [this] {
        ui_.ShowHotRegionStatus();
        ui_.OpenOtherWindow(OtherWindow::Settings);
    });
    connect(mnuFavoriten, &QAction::triggered, this, [this] { ui_.OpenOtherWindow(OtherWindow::Favourites); });
    connect(mnuAbout, &QAction::triggered, this, [this] { ui_.OpenOtherWindow(OtherWindow::About); });
    connect(mnuFavoritenDec, &QAction::triggered, this,
            [this] { Guarded([&] { ui_.App().lists.StartFavouritesBatch(RunDirection::Decrypt); }); });
    connect(mnuFavoritenEnc, &QAction::triggered, this,
            [this] { Guarded([&] { ui_.App().lists.StartFavouritesBatch(RunDirection::Encrypt); }); });
    connect(mnuExit, &QAction::triggered, this, [this] { ui_.QuitApplication(); });
}

void DropZoneWindow::Form_Load() {
    EnableFavouritesCommands(ui_.LoadFavouritesList());
    picDropZone_MouseIcon(0);
    vaultwing::ShowInTaskbar(this, 0, false);

    const QRect screen = PrimaryScreenGeometry();
    const qreal ratio = PrimaryScreenRatio();
    // The hot region compares these with the pointer in device pixels.
    desktopRight_ = qRound((screen.x() + screen.width()) * ratio);
    desktopBottom_ = qRound((screen.y() + screen.height()) * ratio);

    AppState& state = ui_.App().state;
    hotRegion = ReadHotRegion(state.settings);
    SetHotRegionTimer(hotRegion.enabled);
    SetAlwaysOnTop(this, -1, -1);

    const long left = RestoredPosition(state.settings.Number(Setting::Left), long{screen.width()} * kTwipsPerPixel,
                                       long{width()} * kTwipsPerPixel);
    const long top = RestoredPosition(state.settings.Number(Setting::Top), long{screen.height()} * kTwipsPerPixel,
                                      long{height()} * kTwipsPerPixel);
    move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
    LoadTransparency();
}

void DropZoneWindow::LoadTransparency() {
    if (const auto alpha = vaultwing::LoadTransparency(ui_.App().state.settings)) SetTransparency(this, *alpha);
}

void DropZoneWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    SetTransparency(this, 0);
    tmrHotRegion->stop();
    Settings& settings = ui_.App().state.settings;
    (void)settings.SetNumber(Setting::Left, long{x()} * kTwipsPerPixel);
    (void)settings.SetNumber(Setting::Top, long{y()} * kTwipsPerPixel);
    vaultwing::ShowTrayIcon(false);
    ui_.Unloaded(this);
}

void DropZoneWindow::closeEvent(QCloseEvent* event) {
    // Closing the drop zone (the window manager's close) is the regular end, as Exit is.
    event->ignore();
    if (!unloaded_) ui_.QuitApplication();
}

void DropZoneWindow::ShowDropZone() {
    vaultwing::ShowInTaskbar(this, 0, false);
    show();
    SetAlwaysOnTop(this, -1, -1);
}

void DropZoneWindow::EnableFavouritesCommands(bool enabled) {
    mnuFavoritenDec->setEnabled(enabled);
    mnuFavoritenEnc->setEnabled(enabled);
}

void DropZoneWindow::SetHotRegionTimer(bool enabled) {
    if (enabled)
        tmrHotRegion->start();
    else
        tmrHotRegion->stop();
}

void DropZoneWindow::picDropZone_MouseIcon(int ind) {
    setCursor(ind != 0 ? artwork::DragPointer() : artwork::NormalPointer());
}

void DropZoneWindow::PopupContextMenu(const QPoint& globalPosition) {
    activateWindow();
    mnuKontext->popup(globalPosition);
}

void DropZoneWindow::Form_MouseMove(int message) {
    // A tray event must not be handled inside another one.
    if (trayBusy_) return;
    trayBusy_ = true;
    if (message == 514) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        if (!isVisible()) {
            vaultwing::ShowInTaskbar(this, 0, false);
            show();
        }
        SetAlwaysOnTop(this, -1, -1);
    } else if (message == 517) {
        PopupContextMenu(QCursor::pos());
    }
    trayBusy_ = false;
}

void DropZoneWindow::tmrHotRegion_Timer() {
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

void DropZoneWindow::picDropZone_OLEDragDrop(const std::vector<std::string>& paths) {
    ui_.App().lists.DropPaths(paths);
}

void DropZoneWindow::picDropZone_DblClick() {
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
    picDropZone_MouseIcon(1);
}

void DropZoneWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragButton_ == Qt::NoButton) return;
    const QPoint global = event->globalPosition().toPoint();
    if (!dragging_) {
        if ((global - pressGlobal_).manhattanLength() < QApplication::startDragDistance()) return;
        dragging_ = true;
        // The window system moves the window where it can; the right button is moved here, so
        // that its release (which opens the menu) comes back to this window.
        if (dragButton_ != Qt::RightButton && windowHandle() != nullptr && windowHandle()->startSystemMove()) {
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
    picDropZone_MouseIcon(0);
}

void DropZoneWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) picDropZone_DblClick();
}

void DropZoneWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!mime->hasUrls() || mime->urls().isEmpty()) return;
    for (const QUrl& url : mime->urls())
        if (!url.isLocalFile()) return;
    event->acceptProposedAction();
}

void DropZoneWindow::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void DropZoneWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(LocalPath(url));
    event->acceptProposedAction();
    if (paths.empty()) return;
    // The drop ends first, so the program the files came from does not wait for the folder walk.
    QTimer::singleShot(0, this, [this, paths] { Guarded([&] { picDropZone_OLEDragDrop(paths); }); });
}

} // namespace vaultwing
