// Main: parses the options, seeds the data folder, shows the splash window while the main
// window loads, then hands over to the event loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <filesystem>
#include <iostream>

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

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Culvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("culvora"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Culvora, a cookbook for the home kitchen."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir(QStringLiteral("data-dir"),
                               QStringLiteral("Keep the cookbooks in <folder>."),
                               QStringLiteral("folder"));
    parser.addOption(dataDir);
    parser.process(application);

    using namespace culvora;
    gui::QtServices services;
    const auto folder = app::dataFolder(parser.value(dataDir).toStdString());
    if (auto seeded = app::seedDataFolder(deliveredData(), folder); !seeded) {
        services.prompter.inform(QString::fromStdString(seeded.error().message),
                                 QStringLiteral("Culvora"), gui::MessageIcon::Stop);
        return 1;
    }

    gui::ShellState state;
    state.folder = ProgramFolder(folder);

    auto* splash = new gui::SplashWindow(state.folder);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    gui::MainWindow window(state, services.services);
    services.prompter.setParentWindow(&window);
    gui::registerAllWindows(window.context());
    window.start();
    window.show();
    // Long enough to be seen on a fast machine; a key press closes it sooner.
    QTimer::singleShot(900, splash, &QWidget::close);
    return QApplication::exec();
}
