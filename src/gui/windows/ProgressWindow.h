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

    void Load();
    void Unload();

    void Begin(RunDirection direction, const QString& caption);
    void ShowFile(const QString& fileName);
    void SetPercent(int percent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onCancelClicked();

    QLabel* fileNameLabel_ = nullptr;
    DrawnProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
