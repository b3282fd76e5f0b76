#pragma once
// The decryption password dialog: the password typed once, the caps-lock warning, reveal/hide
// and the delete-mode hint.
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace vaultwing {

class ClickLabel;
class PasswordField;
class QtUi;

class DecryptPasswordDialog : public QWidget {
    Q_OBJECT
public:
    explicit DecryptPasswordDialog(QtUi& ui);

    void Load();
    void Unload();
    void Open();
    void ClearFields();
    void SetDeleteModeHint(const QString& text);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onActivated();
    void onCapsLockTimer();
    void onRevealClicked();
    void onDeleteModeClicked();
    void onOkClicked();

    QLabel* titleLabel_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    PasswordField* passwordField_ = nullptr;
    QLabel* capsLockLabel_ = nullptr;
    ClickLabel* deleteModeLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* revealButton_ = nullptr;
    QTimer* capsLockTimer_ = nullptr;
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
