#include "support/gui_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "core/app/settings.h"
#include "gui/windows.h"

namespace culvora::testing {

GuiFixture::GuiFixture()
{
    state.folder = ProgramFolder(dir.path());
}

GuiFixture::~GuiFixture()
{
    // The main window writes tavendi.ini when it closes; tests do not need that here.
    main_.reset();
}

void GuiFixture::writeDefaultFiles()
{
    dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
    dir.write("BOOK1.TXT", "");
    dir.write("typer.txt",
              crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
}

void GuiFixture::copyDeliveredData()
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    std::filesystem::path data = std::filesystem::path(source ? source : ".") / "data";
    std::filesystem::copy(data, dir.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

gui::MainWindow& GuiFixture::start(bool show)
{
    main_ = std::make_unique<gui::MainWindow>(state, fakes.services);
    gui::registerAllWindows(main_->context());
    if (adjustWindows) adjustWindows(main_->windows());
    main_->start();
    if (show) main_->show();
    return *main_;
}

}  // namespace culvora::testing
