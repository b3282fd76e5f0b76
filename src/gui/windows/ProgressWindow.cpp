#include "gui/windows/ProgressWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/LangIndices.h"
#include "gui/widgets/DrawnProgressBar.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {

ProgressWindow::ProgressWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowIcon(artwork::AppIcon());

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraProgress"));
    frame->setFrameShape(QFrame::StyledPanel);
    lblDateiName = new QLabel(frame);
    lblDateiName->setObjectName(QStringLiteral("lblDateiName"));
    lblDateiName->setMinimumWidth(300);
    lblDateiName->setTextFormat(Qt::PlainText);
    QFont bold = lblDateiName->font();
    bold.setBold(true);
    lblDateiName->setFont(bold);
    ProgressBar = new DrawnProgressBar(frame);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    auto* inner = new QVBoxLayout(frame);
    inner->setSpacing(8);
    inner->addWidget(lblDateiName);
    inner->addWidget(ProgressBar);

    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setMinimumWidth(100);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedWidth(400);
}

void ProgressWindow::Form_Load() {
    CentreOnScreen(this);
}

void ProgressWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ui_.ShowInTaskbar(false);
    ui_.Unloaded(this);
}

void ProgressWindow::Begin(RunDirection direction, const QString& caption) {
    ProgressBar->setBarColor(direction == RunDirection::Encrypt ? QColor(255, 0, 0) : QColor(0, 128, 0));
    setWindowTitle(caption);
    cmdCancel->setText(UiText(ui_.App().state.Text(lang::kProgressCancel)));
    cmdCancel->setEnabled(true);
}

void ProgressWindow::ShowFile(const QString& fileName) {
    // A long name is shortened in its middle, so that its start and extension stay readable.
    lblDateiName->setToolTip(fileName);
    lblDateiName->setText(lblDateiName->fontMetrics().elidedText(fileName, Qt::ElideMiddle, lblDateiName->width()));
    if (!isVisible()) {
        show();
        raise();
    }
    repaint();
}

void ProgressWindow::SetPercent(int percent) {
    ProgressBar->setValue(percent);
}

void ProgressWindow::cmdCancel_Click() {
    cmdCancel->setEnabled(false);
    ui_.RequestCancel();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // Closing the window while a run works means stopping it; the window stays until the run
    // has cleaned up and hides it.
    event->ignore();
    if (ui_.App().state.runActive)
        cmdCancel_Click();
    else
        hide();
}

} // namespace vaultwing
