#pragma once
// The language window: a read-only list of the language files beside the program and an OK
// button. At the first start it is the only window, and confirming it starts the program.
#include <QWidget>
#include <string>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace vaultwing {

class QtUi;

class LanguageWindow : public QWidget {
    Q_OBJECT
public:
    explicit LanguageWindow(QtUi& ui);
    ~LanguageWindow() override;

    // Load checks: the program must not run from a drive root, and at least one language file
    // must lie beside it; either failure ends the program at once.
    void Load();
    // Stores the language name as Setting::Language, however the window is closed.
    void Unload();
    void Open();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onActivated();
    void onLanguageChosen(int index);
    void onOkClicked();

    QGroupBox* languageGroup_ = nullptr;
    QComboBox* languageBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QtUi& ui_;
    bool unloaded_ = false;
    // The language shown or chosen in the list; written to the settings when the window goes.
    std::string chosenLanguage_;
    bool confirming_ = false;
};

} // namespace vaultwing
