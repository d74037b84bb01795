#pragma once

// A main window over a temporary data folder with fake services: the starting point of every
// window test. Construct it, write the files the test needs, then call start().

#include <QString>
#include <QTest>

#include <functional>
#include <memory>
#include <string_view>

#include "gui/app/main_window.h"
#include "gui/app/window_registry.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace culvora::testing {

class GuiFixture {
public:
    GuiFixture();
    ~GuiFixture();

    // The default files: tavendi.ini naming BOOK1.TXT, bocker.txt with "Standard" and
    // BOOK1.TXT (empty), typer.txt with the five original types.
    void writeDefaultFiles();
    // Copies the program's delivered data/ folder into the data folder.
    void copyDeliveredData();

    // Creates the main window (reads tavendi.ini as at start-up). Not shown unless asked.
    gui::MainWindow& start(bool show = false);

    gui::AppContext& app() { return main_->context(); }
    gui::MainWindow& main() { return *main_; }
    gui::WindowRegistry& windows() { return main_->windows(); }

    TempDir dir;
    FakeServices fakes;
    gui::ShellState state;
    // Runs after the windows have registered and before the main window starts: a test takes
    // a window away here (or puts a stand-in in its place) to see the menus without it.
    std::function<void(gui::WindowRegistry&)> adjustWindows;

private:
    std::unique_ptr<gui::MainWindow> main_;
};

// Finds a child of a window by objectName. A missing child fails the running test (with the
// name in the message) and gives nullptr.
template <class T>
T* child(QObject* parent, const QString& name)
{
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    if (!found) {
        QTest::qFail(qPrintable(QStringLiteral("no child \"%1\" of the expected kind").arg(name)),
                     __FILE__, __LINE__);
    }
    return found;
}

}  // namespace culvora::testing
