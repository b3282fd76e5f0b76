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

#include "config/LangIndices.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/BarSlider.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/HotRegionPicture.h"
#include "gui/windows/AboutWindow.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/windows/EncryptPasswordDialog.h"

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
      actions_(ui.App().MakeSettingsActions([&ui](bool on) {
          if (DropZoneWindow* dropZone = ui.DropZoneIfLoaded()) dropZone->SetHotRegionTimer(on);
      })) {
    setObjectName(QStringLiteral("SettingsWindow"));
    setWindowIcon(artwork::AppIcon());
    BuildMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->setContentsMargins(16, 12, 16, 14);
    // The two panels share one place: the edges panel lies under the options panel.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(BuildOptionsPanel(), 0, 0);
    stack->addWidget(BuildEdgesPanel(), 0, 0);
    layout->addLayout(stack);
    // Both panels keep their place when hidden, so the window keeps its size when they swap.
    for (QWidget* panel : {static_cast<QWidget*>(optionsPanel_), static_cast<QWidget*>(edgesPanel_)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    edgesPanel_->hide();
    optionsPanel_->setMinimumWidth(380);
    // The window takes the size its texts need, in every language.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CloseOnEscape(this);
    PressDefaultOnEnter(this, [this] { return optionsPanel_->isVisible() ? okButton_ : edgesDoneButton_; });
}

void SettingsWindow::BuildMenu() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    languagesAction_ = menuBar_->addAction(QString());
    languagesAction_->setObjectName(QStringLiteral("languagesAction"));
    helpMenu_ = menuBar_->addMenu(QStringLiteral("?"));
    helpMenu_->setObjectName(QStringLiteral("helpMenu"));
    manualAction_ = helpMenu_->addAction(QString());
    manualAction_->setObjectName(QStringLiteral("manualAction"));
    helpMenu_->addSeparator();
    liveUpdateAction_ = helpMenu_->addAction(QString());
    liveUpdateAction_->setObjectName(QStringLiteral("liveUpdateAction"));
    helpMenu_->addSeparator();
    aboutAction_ = helpMenu_->addAction(QString());
    aboutAction_->setObjectName(QStringLiteral("aboutAction"));
    connect(languagesAction_, &QAction::triggered, this, [this] { onLanguagesChosen(); });
    connect(manualAction_, &QAction::triggered, this, [this] { onManualChosen(); });
    connect(liveUpdateAction_, &QAction::triggered, this, [this] { onLiveUpdateChosen(); });
    connect(aboutAction_, &QAction::triggered, this, [this] { onAboutChosen(); });
}

QWidget* SettingsWindow::BuildOptionsPanel() {
    optionsPanel_ = Panel(this, "optionsPanel");
    const auto box = [this](const char* name, SettingsBox which) {
        auto* check = new QCheckBox(optionsPanel_);
        check->setObjectName(QString::fromLatin1(name));
        // The action runs on every change of the value: a click, a tick at load, the password
        // dialogs' hint. Setting the value it already has does nothing.
        connect(check, &QCheckBox::toggled, this,
                [this, which](bool ticked) { Guarded([&] { actions_.BoxChanged(which, ticked); }); });
        return check;
    };
    deleteSourcesBox_ = box("deleteSourcesBox", SettingsBox::DeleteSources);
    fileTypeBox_ = box("fileTypeBox", SettingsBox::Register);
    hotRegionBox_ = box("hotRegionBox", SettingsBox::HotRegion);
    sendToBox_ = box("sendToBox", SettingsBox::SendTo);

    showEdgesButton_ = new QPushButton(optionsPanel_);
    showEdgesButton_->setObjectName(QStringLiteral("showEdgesButton"));
    showEdgesButton_->setIcon(HotRegionIcon());
    showEdgesButton_->setIconSize(QSize(32, 24));
    showEdgesButton_->setFixedSize(44, 30);
    connect(showEdgesButton_, &QPushButton::clicked, this, [this] { onShowEdgesClicked(); });

    transparencyLabel_ = new QLabel(optionsPanel_);
    transparencyLabel_->setObjectName(QStringLiteral("transparencyLabel"));
    transparencySlider_ = new BarSlider(optionsPanel_);
    transparencySlider_->setObjectName(QStringLiteral("transparencySlider"));
    transparencySlider_->setRange(kMinTransparency, kMaxTransparency);
    transparencySlider_->setValue(kMinTransparency);
    transparencyLabel_->setBuddy(transparencySlider_); // which names the slider to a screen reader
    connect(transparencySlider_, &QSlider::valueChanged, this, [this](int value) { onTransparencyChanged(value); });

    separatorLine_ = new QFrame(optionsPanel_);
    separatorLine_->setObjectName(QStringLiteral("separatorLine"));
    separatorLine_->setFrameShape(QFrame::HLine);
    separatorLine_->setFrameShadow(QFrame::Sunken);
    hintLabel_ = new QLabel(optionsPanel_);
    hintLabel_->setObjectName(QStringLiteral("hintLabel"));
    hintLabel_->setWordWrap(true);
    hintLabel_->setStyleSheet(QStringLiteral("color: #505860;"));

    okButton_ = new QPushButton(optionsPanel_);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setMinimumWidth(100);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, [this] { Unload(); });

    auto* grid = new QGridLayout(optionsPanel_);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setVerticalSpacing(8);
    grid->addWidget(deleteSourcesBox_, 0, 0, 1, 2);
    grid->addWidget(fileTypeBox_, 1, 0, 1, 2);
    grid->addWidget(hotRegionBox_, 2, 0);
    grid->addWidget(showEdgesButton_, 2, 1, Qt::AlignRight);
    grid->addWidget(sendToBox_, 3, 0, 1, 2);
    grid->addItem(new QSpacerItem(0, 6), 4, 0);
    grid->addWidget(transparencyLabel_, 5, 0, 1, 2);
    grid->addWidget(transparencySlider_, 6, 0, 1, 2);
    grid->addWidget(separatorLine_, 7, 0, 1, 2);
    grid->addWidget(hintLabel_, 8, 0, 1, 2);
    grid->addWidget(okButton_, 9, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    return optionsPanel_;
}

QWidget* SettingsWindow::BuildEdgesPanel() {
    edgesPanel_ = Panel(this, "edgesPanel");
    edgesPicture_ = new HotRegionPicture(edgesPanel_);
    edgesPicture_->setObjectName(QStringLiteral("edgesPicture"));
    for (int i = 0; i < kEdgeCount; ++i) {
        edgeLabels_[i] = new ClickLabel(edgesPanel_);
        edgeLabels_[i]->setObjectName(QStringLiteral("edgeLabels_%1").arg(i));
        edgeLabels_[i]->setAlignment(Qt::AlignCenter);
        edgeLabels_[i]->setMinimumWidth(70);
        connect(edgeLabels_[i], &ClickLabel::clicked, this, [this, i] { onEdgeClicked(i); });
        static const char* const kEdgeNames[kEdgeCount] = {"Top edge", "Left edge", "Right edge", "Bottom edge"};
        edgeLabels_[i]->setAccessibleName(QString::fromLatin1(kEdgeNames[i]));
    }
    edgesDoneButton_ = new QPushButton(edgesPanel_);
    edgesDoneButton_->setObjectName(QStringLiteral("edgesDoneButton"));
    edgesDoneButton_->setIcon(DoneIcon());
    edgesDoneButton_->setIconSize(QSize(24, 24));
    edgesDoneButton_->setFixedSize(44, 30);
    connect(edgesDoneButton_, &QPushButton::clicked, this, [this] { onEdgesDoneClicked(); });

    auto* grid = new QGridLayout(edgesPanel_);
    grid->setContentsMargins(0, 8, 0, 0);
    grid->addWidget(edgeLabels_[kEdgeTop], 0, 1, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(edgeLabels_[kEdgeLeft], 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(edgesPicture_, 1, 1, Qt::AlignCenter);
    grid->addWidget(edgeLabels_[kEdgeRight], 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(edgeLabels_[kEdgeBottom], 2, 1, Qt::AlignHCenter | Qt::AlignTop);
    grid->setRowStretch(3, 1);
    grid->addWidget(edgesDoneButton_, 4, 2, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return edgesPanel_;
}

void SettingsWindow::Load() {
    Application& app = ui_.App();
    ui_.ApplyLanguage();
    // LoadTransparency: the slider takes the stored value, and its change applies it.
    if (const auto alpha = vaultwing::LoadTransparency(app.StoredSettings())) {
        transparencySlider_->setValue(*alpha);
    } else {
        // Nothing stored: the drop zone stays opaque, and so does the slider's value.
        const QSignalBlocker quiet(transparencySlider_);
        transparencySlider_->setValue(kMaxTransparency);
    }
    showEdgesButton_->setToolTip(UiText(app.Text(lang::kSettingsHotRegionCaption)));
    showEdgesButton_->setAccessibleName(showEdgesButton_->toolTip());
    edgesDoneButton_->setAccessibleName(UiText(app.Text(lang::kSettingsOk)));
    CentreOnScreen(this);

    const SettingsBoxes boxes = actions_.ReadBoxes();
    deleteSourcesBox_->setChecked(boxes.deleteSources);
    fileTypeBox_->setChecked(boxes.registerType);
    fileTypeBox_->setEnabled(!app.Folders().installed); // the package's association is for everyone
    hotRegionBox_->setChecked(boxes.hotRegion);
    sendToBox_->setChecked(boxes.sendTo);
}

void SettingsWindow::Open() {
    show();
    raise();
    activateWindow();
}

void SettingsWindow::FlipDeleteSources() {
    deleteSourcesBox_->setChecked(!deleteSourcesBox_->isChecked());
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

void SettingsWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ui_.Unloaded(this);
}

void SettingsWindow::onTransparencyChanged(int value) {
    if (DropZoneWindow* dropZone = ui_.DropZoneIfLoaded()) SetTransparency(dropZone, value);
    actions_.TransparencyChanged(value);
}

void SettingsWindow::ShowEdge(int edge, bool on) {
    statusCaption_[edge] = ui_.App().Text(on ? lang::kEdgeOn : lang::kEdgeOff);
    edgeLabels_[edge]->setText(UiText(statusCaption_[edge]));
    edgesPicture_->setLineColor(edge, on ? kEdgeOnColor : kEdgeOffColor);
}

void SettingsWindow::ShowHotRegionStatus() {
    const HotRegion& region = ui_.DropZone().hotRegion;
    for (const int edge : kEdgeStatusOrder)
        ShowEdge(edge, EdgeOf(region, edge));
}

void SettingsWindow::onEdgeClicked(int edge) {
    if (const auto on = actions_.EdgeClicked(ui_.DropZone().hotRegion, edge, statusCaption_[edge])) ShowEdge(edge, *on);
}

void SettingsWindow::onShowEdgesClicked() {
    optionsPanel_->hide();
    edgesPanel_->show();
    setWindowTitle(UiText(ui_.App().Text(lang::kSettingsHotRegionCaption)));
}

void SettingsWindow::onEdgesDoneClicked() {
    edgesPanel_->hide();
    optionsPanel_->show();
    setWindowTitle(UiText(ui_.App().Text(lang::kSettingsCaption)));
}

void SettingsWindow::onLanguagesChosen() {
    ui_.ShowLanguageWindow();
}

void SettingsWindow::onManualChosen() {
    const std::string manual = actions_.ManualPath();
    if (!ui_.OpenDocument(manual)) (void)ui_.ShowMessage(actions_.ManualNotShownMessage(manual));
}

void SettingsWindow::onLiveUpdateChosen() {
    ui_.About().StartLiveUpdate();
}

void SettingsWindow::onAboutChosen() {
    ui_.OpenOtherWindow(OtherWindow::About);
}

} // namespace vaultwing
