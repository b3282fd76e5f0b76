#pragma once
// The encryption password dialog: the password typed twice, a quality meter, the caps-lock
// warning, reveal/hide, and the delete-mode hint that switches the setting when clicked.
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace vaultwing {

class ClickLabel;
class PasswordField;
class QtUi;

class EncryptPasswordDialog : public QWidget {
    Q_OBJECT
public:
    explicit EncryptPasswordDialog(QtUi& ui);

    void Load();
    // Unload (after a run, or closed by the user): the flow decides what comes next.
    void Unload();
    // Shows the dialog and gives it the keyboard focus.
    void Open();
    // Both fields emptied, the focus in the first.
    void ClearFields();
    void SetDeleteModeHint(const QString& text);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onActivated();
    void onPasswordChanged();
    void onCapsLockTimer();
    void onRevealClicked();
    void onDeleteModeClicked();
    void onOkClicked();

    QLabel* titleLabel_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    QLabel* repeatLabel_ = nullptr;
    PasswordField* passwordFields_[2] = {nullptr, nullptr}; // the password, then its repetition
    QLabel* qualityLabel_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QLabel* capsLockLabel_ = nullptr;
    ClickLabel* deleteModeLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* revealButton_ = nullptr;
    QTimer* capsLockTimer_ = nullptr;
    QtUi& ui_;
    bool unloaded_ = false;
};

// Shared by both password dialogs.
void CentreOnScreen(QWidget* window);
// Makes the window's height the one its contents need at its fixed width, and only that, so a
// text that changes (language, delete-mode hint) never squeezes the password fields. A window
// narrower than its controls need is widened to their width.
void FitHeight(QWidget* window);
// The caps-lock indicator: red with language text 340 while caps lock is on, else black with 342.
void ShowCapsLock(QtUi& ui, QLabel* indicator);
// Flips the delete mode through the settings window's check box.
void FlipDeleteMode(QtUi& ui);

} // namespace vaultwing
