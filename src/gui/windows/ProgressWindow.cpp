#include "gui/windows/ProgressWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/LangIndices.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/DrawnProgressBar.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {

ProgressWindow::ProgressWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowIcon(artwork::AppIcon());

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("progressFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    fileNameLabel_ = new QLabel(frame);
    fileNameLabel_->setObjectName(QStringLiteral("fileNameLabel"));
    fileNameLabel_->setMinimumWidth(300);
    fileNameLabel_->setTextFormat(Qt::PlainText);
    QFont bold = fileNameLabel_->font();
    bold.setBold(true);
    fileNameLabel_->setFont(bold);
    progressBar_ = new DrawnProgressBar(frame);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    auto* inner = new QVBoxLayout(frame);
    inner->setSpacing(8);
    inner->addWidget(fileNameLabel_);
    inner->addWidget(progressBar_);

    cancelButton_ = new QPushButton(this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setMinimumWidth(100);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { onCancelClicked(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedWidth(400);
    CloseOnEscape(this); // closing the window cancels its run
}

void ProgressWindow::Load() {
    CentreOnScreen(this);
}

void ProgressWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ui_.ShowInTaskbar(false);
    ui_.Unloaded(this);
}

void ProgressWindow::Begin(RunDirection direction, const QString& caption) {
    progressBar_->setBarColor(direction == RunDirection::Encrypt ? QColor(255, 0, 0) : QColor(0, 128, 0));
    setWindowTitle(caption);
    cancelButton_->setText(UiText(ui_.App().Text(lang::kProgressCancel)));
    cancelButton_->setEnabled(true);
}

void ProgressWindow::ShowFile(const QString& fileName) {
    // A long name is shortened in its middle, so that its start and extension stay readable.
    fileNameLabel_->setToolTip(fileName);
    fileNameLabel_->setText(
        fileNameLabel_->fontMetrics().elidedText(fileName, Qt::ElideMiddle, fileNameLabel_->width()));
    if (!isVisible()) {
        show();
        raise();
    }
    repaint();
}

void ProgressWindow::SetPercent(int percent) {
    progressBar_->setValue(percent);
}

void ProgressWindow::onCancelClicked() {
    cancelButton_->setEnabled(false);
    ui_.RequestCancel();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // Closing the window while a run works means stopping it; the window stays until the run
    // has cleaned up and hides it.
    event->ignore();
    if (ui_.App().RunActive())
        onCancelClicked();
    else
        hide();
}

} // namespace vaultwing
