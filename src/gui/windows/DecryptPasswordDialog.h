#pragma once
// The decryption password dialog: the password typed once, the caps-lock warning, reveal/hide
// and the delete-mode hint.
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

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Open();
    void ClearFields();

    void tmrCapsLockKeyDirect_Timer();
    void cmdCharDirect_Click();
    void lblDelHinweis2_Click();
    void cmdKeyDirect_Click();

    QLabel* lblBezeichnerKeyDirect = nullptr;
    QLabel* lblKeySmall = nullptr;
    PasswordField* txtKeyDirect = nullptr;
    QLabel* lblSBKeyDirect = nullptr;
    ClickLabel* lblDelHinweis2 = nullptr;
    QPushButton* cmdKeyDirect = nullptr;
    QPushButton* cmdCharDirect = nullptr;
    QTimer* tmrCapsLockKeyDirect = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QtUi& ui_;
    bool unloaded_ = false;
};

} // namespace vaultwing
