// VWX: the desktop program. Start-up decides everything; this only sets up Qt around it.
#include <QApplication>
#include <QTimer>

#include "app/Application.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "platform/Folders.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    vaultwing::platform::DisableCoreDumps();
    QApplication qapp(argc, argv); // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("Vaultwing"));
    QApplication::setWindowIcon(vaultwing::artwork::AppIcon());
    // Hidden windows are normal here (the drop zone in the tray); the program ends by its own rules.
    QApplication::setQuitOnLastWindowClosed(false);

    vaultwing::QtUi ui;
    vaultwing::Application app(vaultwing::platform::ProgramFolders(), ui, ui,
                               vaultwing::platform::StartCommandLine(argc, argv));
    ui.Attach(app);
    // A logout (hang-up) or SIGTERM ends the program as Exit does; a running file stops as if cancelled.
    vaultwing::platform::CatchStopSignals();
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&ui] {
        if (vaultwing::platform::StopSignal() != 0) ui.QuitApplication();
    });
    stopWatch.start(100);
    try {
        app.Start();
    } catch (const vaultwing::ProcessEnded&) {
        return 0;
    }
    const int exitCode = QApplication::exec();
    ui.DeleteWindows(); // before the application they talk to goes
    if (const int signal = vaultwing::platform::StopSignal(); signal != 0) vaultwing::platform::EndBySignal(signal);
    return exitCode;
}
