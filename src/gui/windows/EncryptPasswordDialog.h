#pragma once
// The encryption password dialog: the password typed twice, a quality meter, the caps-lock
// warning, reveal/hide, and the delete-mode hint that switches the setting when clicked.
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

    void Form_Load();
    void Form_Activate();
    // Unload (after a run, or closed by the user): the flow decides what comes next.
    void Form_Unload();
    // Shows the dialog and gives it the keyboard focus.
    void Open();
    // Both fields emptied, the focus in the first.
    void ClearFields();

    void txtKey_Change();
    void tmrCapsLockKey_Timer();
    void cmdChar_Click();
    void lblDelHinweis_Click();
    void cmdKey_Click();

    QLabel* lblBezeichnerKey = nullptr;
    QLabel* lblSchluessel = nullptr; // object name "lblSchlüssel"
    QLabel* lblWiederholen = nullptr;
    PasswordField* txtKey[2] = {nullptr, nullptr};
    QLabel* lblKeyQuality = nullptr;
    QLabel* lblHinweis = nullptr;
    QLabel* lblSBKey = nullptr;
    ClickLabel* lblDelHinweis = nullptr;
    QPushButton* cmdKey = nullptr;
    QPushButton* cmdChar = nullptr;
    QTimer* tmrCapsLockKey = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QtUi& ui_;
    bool unloaded_ = false;
};

// Shared by both password dialogs.
void CentreOnScreen(QWidget* window);
// The caps-lock indicator: red with language text 340 while caps lock is on, else black with 342.
void ShowCapsLock(QtUi& ui, QLabel* indicator);
// Flips the delete mode through the settings window's check box.
void FlipDeleteMode(QtUi& ui);

} // namespace vaultwing
