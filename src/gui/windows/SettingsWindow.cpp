#include "gui/windows/SettingsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/windows/AboutWindow.h"
#include "gui/windows/DropZoneWindow.h"
#include "config/LangIndices.h"
#include "gui/widgets/BarSlider.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/HotRegionPicture.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

const QColor kEdgeOnColor(255, 0, 0);
const QColor kEdgeOffColor(0, 0, 0);

// The picture of the button that opens the edges panel: a small screen with a red top edge.
QIcon HotRegionIcon() {
    QPixmap pixmap(32, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x4a, 0x52, 0x5c), 2));
    painter.setBrush(QColor(0x6f, 0xa8, 0xdc));
    painter.drawRoundedRect(QRectF(3, 3, 26, 16), 2, 2);
    painter.setPen(QPen(kEdgeOnColor, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5, 4), QPointF(27, 4));
    painter.setPen(QPen(QColor(0x4a, 0x52, 0x5c), 2));
    painter.drawLine(QPointF(16, 19), QPointF(16, 22));
    painter.drawLine(QPointF(11, 22.5), QPointF(21, 22.5));
    return QIcon(pixmap);
}

// The picture of the button that closes the edges panel: a check mark.
QIcon DoneIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1d, 0x7a, 0x3a), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(5, 12.5), QPointF(10, 17.5), QPointF(19, 6.5)}));
    return QIcon(pixmap);
}

QFrame* Panel(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

} // namespace

SettingsWindow::SettingsWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui),
      actions_(ui.App().state, ui, ui.App().lists, [&ui](bool on) {
          if (DropZoneWindow* main = ui.MainIfLoaded()) main->SetHotRegionTimer(on);
      }) {
    setObjectName(QStringLiteral("SettingsWindow"));
    setWindowIcon(artwork::AppIcon());
    BuildMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(16, 12, 16, 14);
    // The two panels share one place: the edges panel lies under the options panel.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(BuildOptionsPanel(), 0, 0);
    stack->addWidget(BuildEdgesPanel(), 0, 0);
    layout->addLayout(stack);
    // Both panels keep their place when hidden, so the window keeps its size when they swap.
    for (QWidget* panel : {static_cast<QWidget*>(fraForm), static_cast<QWidget*>(fraSettings)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    fraSettings->hide();
    fraForm->setMinimumWidth(380);
    // The window takes the size its texts need, in every language.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsWindow::BuildMenu() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuSprachen = menuBar->addAction(QString());
    mnuSprachen->setObjectName(QStringLiteral("mnuSprachen"));
    mnuInfo = menuBar->addMenu(QStringLiteral("?"));
    mnuInfo->setObjectName(QStringLiteral("mnuInfo"));
    mnuHilfe = mnuInfo->addAction(QString());
    mnuHilfe->setObjectName(QStringLiteral("mnuHilfe"));
    mnuInfo->addSeparator()->setObjectName(QStringLiteral("Seperator"));
    mnuLiveUpdate = mnuInfo->addAction(QString());
    mnuLiveUpdate->setObjectName(QStringLiteral("mnuLiveUpdate"));
    mnuInfo->addSeparator()->setObjectName(QStringLiteral("Seoerator2"));
    mnuInfoAbout = mnuInfo->addAction(QString());
    mnuInfoAbout->setObjectName(QStringLiteral("mnuInfoAbout"));
    connect(mnuSprachen, &QAction::triggered, this, [this] { mnuSprachen_Click(); });
    connect(mnuHilfe, &QAction::triggered, this, [this] { mnuHilfe_Click(); });
    connect(mnuLiveUpdate, &QAction::triggered, this, [this] { mnuLiveUpdate_Click(); });
    connect(mnuInfoAbout, &QAction::triggered, this, [this] { mnuInfoAbout_Click(); });
}

QWidget* SettingsWindow::BuildOptionsPanel() {
    fraForm = Panel(this, "fraForm");
    const auto box = [this](const char* name, SettingsBox which) {
        auto* check = new QCheckBox(fraForm);
        check->setObjectName(QString::fromLatin1(name));
        // The action runs on every change of the value: a click, a tick at load, the password
        // dialogs' hint. Setting the value it already has does nothing.
        connect(check, &QCheckBox::toggled, this,
                [this, which](bool ticked) { Guarded([&] { actions_.BoxChanged(which, ticked); }); });
        return check;
    };
    chkFileDel = box("chkFileDel", SettingsBox::FileDel);
    chkRegister = box("chkRegister", SettingsBox::Register);
    chkHotRegion = box("chkHotRegion", SettingsBox::HotRegion);
    chkSendTo = box("chkSendTo", SettingsBox::SendTo);

    cmdHotRegionSet = new QPushButton(fraForm);
    cmdHotRegionSet->setObjectName(QStringLiteral("cmdHotRegionSet"));
    cmdHotRegionSet->setIcon(HotRegionIcon());
    cmdHotRegionSet->setIconSize(QSize(32, 24));
    cmdHotRegionSet->setFixedSize(44, 30);
    connect(cmdHotRegionSet, &QPushButton::clicked, this, [this] { cmdHotRegionSet_Click(); });

    lblTransparenz = new QLabel(fraForm);
    lblTransparenz->setObjectName(QStringLiteral("lblTransparenz"));
    hsbTransparent = new BarSlider(fraForm);
    hsbTransparent->setObjectName(QStringLiteral("hsbTransparent"));
    hsbTransparent->setRange(kMinTransparency, kMaxTransparency);
    hsbTransparent->setValue(kMinTransparency);
    connect(hsbTransparent, &QSlider::valueChanged, this, [this](int value) { hsbTransparent_Change(value); });

    Line1 = new QFrame(fraForm);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    lblHinweis = new QLabel(fraForm);
    lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
    lblHinweis->setWordWrap(true);
    lblHinweis->setStyleSheet(QStringLiteral("color: #505860;"));

    cmdSettingsOK = new QPushButton(fraForm);
    cmdSettingsOK->setObjectName(QStringLiteral("cmdSettingsOK"));
    cmdSettingsOK->setMinimumWidth(100);
    cmdSettingsOK->setDefault(true);
    connect(cmdSettingsOK, &QPushButton::clicked, this, [this] { Form_Unload(); });

    auto* grid = new QGridLayout(fraForm);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setVerticalSpacing(8);
    grid->addWidget(chkFileDel, 0, 0, 1, 2);
    grid->addWidget(chkRegister, 1, 0, 1, 2);
    grid->addWidget(chkHotRegion, 2, 0);
    grid->addWidget(cmdHotRegionSet, 2, 1, Qt::AlignRight);
    grid->addWidget(chkSendTo, 3, 0, 1, 2);
    grid->addItem(new QSpacerItem(0, 6), 4, 0);
    grid->addWidget(lblTransparenz, 5, 0, 1, 2);
    grid->addWidget(hsbTransparent, 6, 0, 1, 2);
    grid->addWidget(Line1, 7, 0, 1, 2);
    grid->addWidget(lblHinweis, 8, 0, 1, 2);
    grid->addWidget(cmdSettingsOK, 9, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    return fraForm;
}

QWidget* SettingsWindow::BuildEdgesPanel() {
    fraSettings = Panel(this, "fraSettings");
    Linie = new HotRegionPicture(fraSettings);
    Linie->setObjectName(QStringLiteral("Linie"));
    for (int i = 0; i < kEdgeCount; ++i) {
        lblStatus[i] = new ClickLabel(fraSettings);
        lblStatus[i]->setObjectName(QStringLiteral("lblStatus_%1").arg(i));
        lblStatus[i]->setAlignment(Qt::AlignCenter);
        lblStatus[i]->setMinimumWidth(70);
        connect(lblStatus[i], &ClickLabel::clicked, this, [this, i] { lblStatus_Click(i); });
    }
    cmdHotRegionOK = new QPushButton(fraSettings);
    cmdHotRegionOK->setObjectName(QStringLiteral("cmdHotRegionOK"));
    cmdHotRegionOK->setIcon(DoneIcon());
    cmdHotRegionOK->setIconSize(QSize(24, 24));
    cmdHotRegionOK->setFixedSize(44, 30);
    connect(cmdHotRegionOK, &QPushButton::clicked, this, [this] { cmdHotRegionOK_Click(); });

    auto* grid = new QGridLayout(fraSettings);
    grid->setContentsMargins(0, 8, 0, 0);
    grid->addWidget(lblStatus[kEdgeTop], 0, 1, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(lblStatus[kEdgeLeft], 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(Linie, 1, 1, Qt::AlignCenter);
    grid->addWidget(lblStatus[kEdgeRight], 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(lblStatus[kEdgeBottom], 2, 1, Qt::AlignHCenter | Qt::AlignTop);
    grid->setRowStretch(3, 1);
    grid->addWidget(cmdHotRegionOK, 4, 2, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return fraSettings;
}

void SettingsWindow::Form_Load() {
    AppState& state = ui_.App().state;
    ui_.ApplyLanguage();
    // LoadTransparency: the slider takes the stored value, and its change applies it.
    if (const auto alpha = vaultwing::LoadTransparency(state.settings)) {
        hsbTransparent->setValue(*alpha);
    } else {
        // Nothing stored: the drop zone stays opaque, and so does the slider's value.
        const QSignalBlocker quiet(hsbTransparent);
        hsbTransparent->setValue(kMaxTransparency);
    }
    cmdHotRegionSet->setToolTip(UiText(state.Text(lang::kSettingsHotRegionCaption)));
    CentreOnScreen(this);

    const SettingsBoxes boxes = actions_.ReadBoxes();
    chkFileDel->setChecked(boxes.fileDel);
    chkRegister->setChecked(boxes.registerType);
    chkHotRegion->setChecked(boxes.hotRegion);
    chkSendTo->setChecked(boxes.sendTo);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void SettingsWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ui_.Unloaded(this);
}

void SettingsWindow::hsbTransparent_Change(int value) {
    if (DropZoneWindow* main = ui_.MainIfLoaded()) SetTransparency(main, value);
    actions_.TransparencyChanged(value);
}

void SettingsWindow::ShowEdge(int edge, bool on) {
    statusCaption_[edge] = ui_.App().state.Text(on ? lang::kEdgeOn : lang::kEdgeOff);
    lblStatus[edge]->setText(UiText(statusCaption_[edge]));
    Linie->setLineColor(edge, on ? kEdgeOnColor : kEdgeOffColor);
}

void SettingsWindow::ShowHotRegionStatus() {
    const HotRegion& region = ui_.Main().hotRegion;
    for (const int edge : kEdgeStatusOrder)
        ShowEdge(edge, EdgeOf(region, edge));
}

void SettingsWindow::lblStatus_Click(int edge) {
    if (const auto on = actions_.EdgeClicked(ui_.Main().hotRegion, edge, statusCaption_[edge])) ShowEdge(edge, *on);
}

void SettingsWindow::cmdHotRegionSet_Click() {
    fraForm->hide();
    fraSettings->show();
    setWindowTitle(UiText(ui_.App().state.Text(lang::kSettingsHotRegionCaption)));
}

void SettingsWindow::cmdHotRegionOK_Click() {
    fraSettings->hide();
    fraForm->show();
    setWindowTitle(UiText(ui_.App().state.Text(lang::kSettingsCaption)));
}

void SettingsWindow::mnuSprachen_Click() {
    ui_.ShowLanguageWindow();
}

void SettingsWindow::mnuHilfe_Click() {
    // A missing manual, or nothing to show PDF files with, goes unreported.
    (void)ui_.OpenDocument(ui_.App().state.programFolder + platform::kPathSeparator + "Bedienungsanleitung.pdf");
}

void SettingsWindow::mnuLiveUpdate_Click() {
    ui_.Info().StartLiveUpdate();
}

void SettingsWindow::mnuInfoAbout_Click() {
    ui_.OpenOtherWindow(OtherWindow::About);
}

} // namespace vaultwing
