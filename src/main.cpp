// Main: parses the options, seeds the data folder, shows the splash window while the main
// window loads, then hands over to the event loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/splash_window.h"
#include "gui/windows.h"

namespace {

// The delivered files: beside the installed program, else the source tree it was built from.
std::filesystem::path deliveredData()
{
    return culvora::app::deliveredData(QCoreApplication::applicationDirPath().toStdString(),
                                       CULVORA_DATA_SOURCE);
}

// CULVORA_STARTUP_TIME=1 prints, once the main window has first been drawn on the screen,
// the monotonic clock in seconds (a measuring script subtracts the moment it started the
// program); CULVORA_STARTUP_TIME=quit then also ends the program.
class FirstExposure : public QObject {
public:
    explicit FirstExposure(bool quit) : quit_(quit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && !seen_ &&
            static_cast<QWindow*>(watched)->isExposed()) {
            seen_ = true;
            // After the expose has been painted and flushed.
            QTimer::singleShot(0, this, [this] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::cout << "culvora: main window shown at " << now.tv_sec << '.'
                          << std::to_string(1000000000 + now.tv_nsec).substr(1) << std::endl;
                if (quit_) QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool quit_;
    bool seen_ = false;
};

// A desktop session has a session bus. A bare X server (a kiosk, a test run) has none, and
// then the accessibility bridge's first look-up for one makes libdbus start dbus-launch: a child
// process and a bus daemon of its own, at every start. No screen reader is at work there, so
// while the program starts the look-up is told that there is no bus; the variable goes again
// once the main window is up, so that programs started later (a browser for the help) look
// for a bus their own way.
class NoBusLaunchAtStart {
public:
    NoBusLaunchAtStart()
    {
        if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        std::error_code ignored;
        if (!runtime.isEmpty() &&
            std::filesystem::is_socket(runtime.toStdString() + "/bus", ignored)) {
            return;
        }
        set_ = qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    ~NoBusLaunchAtStart() { release(); }
    NoBusLaunchAtStart(const NoBusLaunchAtStart&) = delete;
    NoBusLaunchAtStart& operator=(const NoBusLaunchAtStart&) = delete;

    void release()
    {
        if (set_) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        set_ = false;
    }

private:
    bool set_ = false;
};

// The program's options; the help text is made from them.
QCommandLineOption describeOptions(QCommandLineParser& parser)
{
    QCoreApplication::setApplicationName(QStringLiteral("Culvora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CULVORA_VERSION));
    parser.setApplicationDescription(QStringLiteral("Culvora, a cookbook for the home kitchen."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir(QStringLiteral("data-dir"),
                               QStringLiteral("Keep the cookbooks in <folder>."),
                               QStringLiteral("folder"));
    parser.addOption(dataDir);
    return dataDir;
}

// --help and --version are answered before the windowing system is touched, so that they work
// where there is no display (a package build, a script, a terminal over ssh): a plain
// QCoreApplication parses the line, prints the answer and ends the program. Any other line,
// "--data-dir --help" included, comes back here and starts the program.
void answerWithoutDisplay(int argc, char** argv)
{
    bool asked = false;
    for (int i = 1; i < argc && !asked; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        asked = arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
                arg == "--version" || arg == "-v";
    }
    if (!asked) return;
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(core);
}

}  // namespace

int main(int argc, char** argv)
{
    answerWithoutDisplay(argc, argv);

    NoBusLaunchAtStart noBusLaunch;
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.example.culvora"));
    // CULVORA_FONT_POINTS=12 gives the program the font size a user's desktop would, on a bare
    // X server without one: how the windows look with large text can be seen anywhere.
    if (const int points = qEnvironmentVariableIntValue("CULVORA_FONT_POINTS"); points > 0) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
    }

    QCommandLineParser parser;
    const QCommandLineOption dataDir = describeOptions(parser);
    parser.process(application);

    using namespace culvora;
    gui::QtServices services;
    const auto resolved = app::dataFolder(parser.value(dataDir).toStdString());
    if (!resolved) {
        services.prompter.inform(QString::fromStdString(resolved.error().message),
                                 QStringLiteral("Culvora"), gui::MessageIcon::Stop);
        return 1;
    }
    const std::filesystem::path& folder = *resolved;
    const auto delivered = deliveredData();
    if (auto seeded = app::seedDataFolder(delivered, folder); !seeded) {
        services.prompter.inform(QString::fromStdString(seeded.error().message),
                                 QStringLiteral("Culvora"), gui::MessageIcon::Stop);
        return 1;
    }

    gui::ShellState state;
    state.folder = ProgramFolder(folder);
    state.deliveredFolder = delivered;

    auto* splash = new gui::SplashWindow(state);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    gui::MainWindow window(state, services.services);
    services.prompter.setParentWindow(&window);
    gui::registerAllWindows(window.context());
    window.start();
    window.show();
    // Logging out with a recipe half typed asks about it as Exit does, or keeps it.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager& session) {
                         window.commitData({[&session] { return session.allowsInteraction(); },
                                            [&session] { session.release(); },
                                            [&session] { session.cancel(); }});
                     });
    std::unique_ptr<FirstExposure> timing;
    if (const QByteArray wanted = qgetenv("CULVORA_STARTUP_TIME"); !wanted.isEmpty()) {
        timing = std::make_unique<FirstExposure>(wanted == "quit");
        window.windowHandle()->installEventFilter(timing.get());
    }
    noBusLaunch.release();
    // Long enough to be seen on a fast machine; a key press closes it sooner.
    QTimer::singleShot(900, splash, &QWidget::close);
    return QApplication::exec();
}
