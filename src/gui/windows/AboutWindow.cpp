#include "gui/windows/AboutWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "about/LiveUpdate.h"
#include "about/Marquee.h"
#include "gui/Artwork.h"
#include "gui/Downloader.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/MarqueeBox.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "platform/Folders.h"

namespace vaultwing {
namespace {

const QColor kIconColor(0x1d, 0x4f, 0x8a);

// The picture buttons' images: an envelope (contact) and two turning arrows (live update).
QIcon EnvelopeIcon() {
    QPixmap pixmap(28, 28);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kIconColor, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3, 7, 22, 15), 2, 2);
    painter.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(14, 16), QPointF(24, 8)}));
    return QIcon(pixmap);
}

QIcon UpdateIcon() {
    QPixmap pixmap(28, 28);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kIconColor, 2.4, Qt::SolidLine, Qt::RoundCap));
    const QRectF circle(6, 6, 16, 16);
    painter.drawArc(circle, 30 * 16, 150 * 16);
    painter.drawArc(circle, 210 * 16, 150 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kIconColor);
    painter.drawPolygon(QPolygonF({QPointF(19.5, 3.5), QPointF(24.5, 10), QPointF(16.5, 10.5)}));
    painter.drawPolygon(QPolygonF({QPointF(8.5, 24.5), QPointF(3.5, 18), QPointF(11.5, 17.5)}));
    return QIcon(pixmap);
}

QToolButton* PictureButton(QWidget* parent, const char* name, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(28, 28));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

AboutWindow::AboutWindow(QtUi& ui)
    : QWidget(ui.DropZoneIfLoaded(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowIcon(artwork::AppIcon());

    auto* logo = new QLabel(this);
    logo->setPixmap(artwork::AppIcon().pixmap(48, 48));
    logo->setFixedSize(48, 48);
    auto* name = new QLabel(QStringLiteral("Vaultwing %1").arg(QLatin1String(kRunningVersionText)), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    nameFont.setBold(true);
    name->setFont(nameFont);

    marqueeBox_ = new MarqueeBox(this);
    marqueeBox_->setObjectName(QStringLiteral("marqueeBox"));
    marqueeTimer_ = new QTimer(this);
    marqueeTimer_->setObjectName(QStringLiteral("marqueeTimer"));
    connect(marqueeTimer_, &QTimer::timeout, this, [this] { onMarqueeTimer(); });

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("separatorLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    websiteLink_ = new ClickLabel(this);
    websiteLink_->setObjectName(QStringLiteral("websiteLink"));
    websiteLink_->setText(QStringLiteral("Vaultwing Website"));
    websiteLink_->setStyleSheet(QStringLiteral("color: palette(link);"));
    websiteLink_->setWordWrap(false);
    connect(websiteLink_, &ClickLabel::clicked, this, [this] { onWebsiteClicked(); });
    contactButton_ = PictureButton(this, "contactButton", EnvelopeIcon());
    connect(contactButton_, &QToolButton::clicked, this, [this] { onContactClicked(); });
    liveUpdateButton_ = PictureButton(this, "liveUpdateButton", UpdateIcon());
    connect(liveUpdateButton_, &QToolButton::clicked, this, [this] { StartLiveUpdate(); });
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(90);
    connect(okButton_, &QPushButton::clicked, this, [this] { onOkClicked(); });

    liveUpdateDownloader_ = new Downloader(this);
    liveUpdateDownloader_->setObjectName(QStringLiteral("liveUpdateDownloader"));
    connect(liveUpdateDownloader_, &Downloader::Completed, this,
            [this](qint64 bytes, const QString&) { onVersionFileDownloaded(bytes); });

    auto* title = new QHBoxLayout;
    title->setSpacing(12);
    title->addWidget(logo);
    title->addWidget(name, 1);
    auto* links = new QHBoxLayout;
    links->addWidget(websiteLink_);
    links->addStretch(1);
    links->addWidget(contactButton_);
    links->addWidget(liveUpdateButton_);
    links->addSpacing(8);
    links->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(marqueeBox_, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addLayout(links);
    setFixedWidth(marqueeBox_->sizeHint().width() + 80);
    CloseOnEscape(this);
    PressDefaultOnEnter(this, [this] { return okButton_; });
}

void AboutWindow::Load() {
    ui_.ApplyLanguage();
    SetAlwaysOnTop(this, true, false);
    CentreOnScreen(this);
    marqueeBox_->setText(QString::fromStdString(CreditsLine() + ui_.MarqueeText()));
    marqueeBox_->setPosition(kMarqueeStart);
    marqueeTimer_->setInterval(kMarqueeIntervalMs);
}

void AboutWindow::Open() {
    show();
    raise();
    activateWindow();
    marqueeTimer_->start();
}

void AboutWindow::onMarqueeTimer() {
    marqueeBox_->setPosition(MarqueeStep(marqueeBox_->position(), marqueeBox_->textWidth()));
}

void AboutWindow::onOkClicked() {
    marqueeTimer_->stop();
    Unload();
}

void AboutWindow::onWebsiteClicked() {
    (void)ui_.OpenDocument(WebsiteAddress(server));
    Unload();
}

void AboutWindow::onContactClicked() {
    (void)ui_.OpenDocument(ContactAddress(server));
    Unload();
}

void AboutWindow::StartLiveUpdate() {
    (void)platform::CreatePrivateFolder(ui_.App().Folders().cache);
    RemoveStaleVersionFile(ui_.App().Folders().cache);
    liveUpdateDownloader_->Download(QString::fromStdString(VersionFileAddress(server)),
                                    QString::fromStdString(ui_.App().StoredSettings().Store().VersionPath()));
}

void AboutWindow::onVersionFileDownloaded(qint64 bytes) {
    const Application& app = ui_.App();
    const auto outcome = CheckDownloadedVersion(bytes, app.Folders().cache, app.Texts(), server);
    if (!outcome) return; // the version file could not be read or removed: the check ends quietly
    const MsgAnswer answer = ui_.ShowMessage(outcome->message);
    if (outcome->yesOpensArchive && answer == MsgAnswer::Yes) {
        (void)ui_.OpenDocument(outcome->archiveAddress);
        Unload();
    }
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

void AboutWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    marqueeTimer_->stop();
    ui_.Unloaded(this);
}

} // namespace vaultwing
