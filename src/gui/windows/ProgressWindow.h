#pragma once
// The progress window of a run: the current file's name, a bar (red while encrypting, green
// while decrypting) and a Cancel button that stops the current file without leaving a partial
// output behind.
#include <QString>
#include <QWidget>

#include "state/UiPort.h"

class QLabel;
class QPushButton;

namespace vaultwing {

class DrawnProgressBar;
class QtUi;

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QtUi& ui);

    void Form_Load();
    void Form_Unload();

    void Begin(RunDirection direction, const QString& caption);
    void ShowFile(const QString& fileName);
    void SetPercent(int percent);
    void cmdCancel_Click();

    QLabel* lblDateiName = nullptr;
    DrawnProgressBar* ProgressBar = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
