#pragma once

// What the drinks windows' tests share: drink records as the file holds them, and a main
// window over a data folder with a drinks file, the glass pictures and the drinks list.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/drinks/drinks.h"
#include "gui/app/window_names.h"
#include "gui/drinks/drinks_list.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

namespace culvora::testing {

// One drink as drinkar.txt holds it.
inline std::string drink(std::string_view name, std::initializer_list<std::string_view> ingredients,
                         std::initializer_list<std::string_view> instructions,
                         std::string_view glass)
{
    std::string record = crlf({"[NAMN]", name});
    for (auto line : ingredients) record += crlf({line});
    record += crlf({"[G\xD6RA]"});
    for (auto line : instructions) record += crlf({line});
    return record + crlf({"[GLAS]", glass});
}

struct DrinksFixture {
    GuiFixture f;

    // `file`: drinkar.txt, or nothing for a data folder without one. `show`: a shown main
    // window, for tests of the focus.
    explicit DrinksFixture(const std::optional<std::string>& file, bool show = false)
    {
        f.writeDefaultFiles();
        copyPictures();
        if (file) f.dir.write("drinkar.txt", *file);
        f.start(show);
        if (show) QApplication::setActiveWindow(&f.main());
    }

    // The delivered pictures the drinks windows show.
    void copyPictures()
    {
        const char* source = std::getenv("CULVORA_SOURCE_DIR");
        const std::filesystem::path data = std::filesystem::path(source ? source : ".") / "data";
        for (const auto& entry : std::filesystem::directory_iterator(data)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".bmp" || name == "tavendi3.gif") {
                std::filesystem::copy_file(entry.path(), f.dir.path() / name);
            }
        }
    }

    gui::DrinksList* openList()
    {
        return qobject_cast<gui::DrinksList*>(f.windows().open(gui::forms::kDrinks));
    }
    gui::DrinksList* list() { return f.windows().find<gui::DrinksList>(gui::forms::kDrinks); }
    QListWidget* names() { return child<QListWidget>(list(), QStringLiteral("List1")); }
    QStringList shown() { return itemTexts(names()); }
    QString count() { return child<QLabel>(list(), QStringLiteral("Label2"))->text(); }
    void select(const QString& name) { selectItem(names(), name); }
    void click(const char* button) { clickButton(list(), QLatin1String(button)); }

    // The main window's filter menu items: glas(0) to glas(14), and "&No filter".
    QAction* glass(int index)
    {
        return f.main().findChild<QAction*>(QStringLiteral("glas(%1)").arg(index));
    }
    QAction* noFilter() { return f.main().findChild<QAction*>(QStringLiteral("mnuNoFilter")); }
    // A choice in the filter menu, and the reload Timer1 runs 100 ms later.
    void chooseGlass(int index)
    {
        glass(index)->trigger();
        fireFilterTimer();
    }
    void fireFilterTimer()
    {
        QTimer* timer = list()->filterTimer();
        QVERIFY(timer->isActive());
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }

    std::string file() const { return f.dir.read("drinkar.txt"); }
    QStringList messages() const
    {
        QStringList all;
        for (const gui::Message& m : f.fakes.prompter.messages) all << messageShape(m);
        return all;
    }
    // Closed windows go at the next turn of the event loop.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

}  // namespace culvora::testing
