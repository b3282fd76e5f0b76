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

#include "gui/Downloader.h"
#include "about/LiveUpdate.h"
#include "about/Marquee.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/MarqueeBox.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/windows/EncryptPasswordDialog.h"

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
    : QWidget(ui.MainIfLoaded(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("Vaultwing"));
    setWindowIcon(artwork::AppIcon());

    auto* logo = new QLabel(this);
    logo->setPixmap(artwork::AppIcon().pixmap(48, 48));
    logo->setFixedSize(48, 48);
    auto* name = new QLabel(QStringLiteral("Vaultwing %1").arg(QLatin1String(kRunningVersionText)), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    nameFont.setBold(true);
    name->setFont(nameFont);

    picLaufschrift = new MarqueeBox(this);
    picLaufschrift->setObjectName(QStringLiteral("picLaufschrift"));
    tmrLaufschrift = new QTimer(this);
    tmrLaufschrift->setObjectName(QStringLiteral("tmrLaufschrift"));
    connect(tmrLaufschrift, &QTimer::timeout, this, [this] { tmrLaufschrift_Timer(); });

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    lblURL = new ClickLabel(this);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setText(QStringLiteral("Vaultwing Website"));
    lblURL->setStyleSheet(QStringLiteral("color: palette(link);"));
    lblURL->setWordWrap(false);
    connect(lblURL, &ClickLabel::clicked, this, [this] { lblURL_Click(); });
    pbEmail = PictureButton(this, "pbEmail", EnvelopeIcon());
    connect(pbEmail, &QToolButton::clicked, this, [this] { pbEmail_Click(); });
    pbLiveUpdate = PictureButton(this, "pbLiveUpdate", UpdateIcon());
    connect(pbLiveUpdate, &QToolButton::clicked, this, [this] { pbLiveUpdate_Click(); });
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(90);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    dlLiveUpdate = new Downloader(this);
    dlLiveUpdate->setObjectName(QStringLiteral("dlLiveUpdate"));
    connect(dlLiveUpdate, &Downloader::Completed, this,
            [this](qint64 bytes, const QString&) { dlLiveUpdate_Completed(bytes); });

    auto* title = new QHBoxLayout;
    title->setSpacing(12);
    title->addWidget(logo);
    title->addWidget(name, 1);
    auto* links = new QHBoxLayout;
    links->addWidget(lblURL);
    links->addStretch(1);
    links->addWidget(pbEmail);
    links->addWidget(pbLiveUpdate);
    links->addSpacing(8);
    links->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(picLaufschrift, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addLayout(links);
    setFixedWidth(picLaufschrift->sizeHint().width() + 80);
}

void AboutWindow::Form_Load() {
    ui_.ApplyLanguage();
    SetAlwaysOnTop(this, -1, 0);
    CentreOnScreen(this);
    picLaufschrift->setText(QString::fromStdString(CreditsLine() + ui_.MarqueeText()));
    picLaufschrift->setPosition(kMarqueeStart);
    tmrLaufschrift->setInterval(kMarqueeIntervalMs);
}

void AboutWindow::tmrLaufschrift_Timer() {
    picLaufschrift->setPosition(MarqueeStep(picLaufschrift->position(), picLaufschrift->textWidth()));
}

void AboutWindow::cmdOK_Click() {
    tmrLaufschrift->stop();
    Form_Unload();
}

void AboutWindow::lblURL_Click() {
    (void)ui_.OpenDocument(WebsiteAddress(server));
    Form_Unload();
}

void AboutWindow::pbEmail_Click() {
    (void)ui_.OpenDocument(ContactAddress(server));
    Form_Unload();
}

void AboutWindow::pbLiveUpdate_Click() {
    StartLiveUpdate();
}

void AboutWindow::StartLiveUpdate() {
    dlLiveUpdate->Download(QString::fromStdString(VersionFileAddress(server)),
                           QString::fromStdString(ui_.App().state.settings.Store().VersionPath()));
}

void AboutWindow::dlLiveUpdate_Completed(qint64 bytes) {
    const AppState& state = ui_.App().state;
    const auto outcome = CheckDownloadedVersion(bytes, state.programFolder, state.texts, server);
    if (!outcome) return; // the version file could not be read or removed: the check ends quietly
    const MsgAnswer answer = ui_.ShowMessage(outcome->message);
    if (outcome->yesOpensArchive && answer == MsgAnswer::Yes) {
        (void)ui_.OpenDocument(outcome->archiveAddress);
        Form_Unload();
    }
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void AboutWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    tmrLaufschrift->stop();
    ui_.Unloaded(this);
}

} // namespace vaultwing
