#include "gui/drinks/drink_windows.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>

#include <algorithm>

#include "core/drinks/drinks.h"
#include "gui/app/app_context.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/drinks/drink_edit_screen.h"
#include "gui/drinks/drink_viewer.h"
#include "gui/drinks/drinks_list.h"
#include "gui/drinks/new_drink_editor.h"
#include "gui/widgets/glass_list.h"

namespace culvora::gui {

namespace {

// The drink the list's selected entry names, as the file holds it now. Nothing when no list
// or no entry is there; a drink gone from the file meanwhile is reported.
std::optional<drinks::Drink> selectedDrink(AppContext& app)
{
    auto* list = app.windows.find<DrinksList>(forms::kDrinks);
    const auto name = list ? list->selectedName() : std::nullopt;
    if (!name) return std::nullopt;
    auto drink = drinks::loadDrink(app.state.folder, *name);
    if (!drink) {
        app.services.prompter.inform(toQString(drink.error()), QStringLiteral("Error"),
                                     MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(*drink);
}

// The file of that name in the folder, whatever its letter case: the drinks file's tables name
// one picture with different letter cases ("Champ.bmp", "champ.bmp"), and a picture copied in
// by hand may be spelt either way. Empty when there is none.
QString fileNamed(const std::filesystem::path& folder, const QString& name)
{
    if (folder.empty()) return {};
    const QDir dir(QString::fromStdString(folder.string()));
    if (QFileInfo(dir.filePath(name)).isFile()) return name;
    const QStringList files = dir.entryList(QDir::Files);
    const auto found = std::find_if(files.begin(), files.end(), [&name](const QString& f) {
        return f.compare(name, Qt::CaseInsensitive) == 0;
    });
    return found == files.end() ? QString() : *found;
}

void fitInto(QMdiArea* area, QMdiSubWindow* frame)
{
    const QSize room = area->viewport()->size();
    if (frame->width() > room.width() || frame->height() > room.height()) {
        frame->resize(frame->size().boundedTo(room));
    }
}

}  // namespace

QPixmap glassPixmap(const ShellState& state, int glass)
{
    const std::string_view file = drinks::glassPicture(glass);
    if (file.empty()) return {};
    const QString name = QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()));
    // The user's own copy first, then the delivered one.
    for (const auto& folder : {state.folder.path(), state.deliveredFolder}) {
        const QString found = fileNamed(folder, name);
        if (!found.isEmpty()) return loadPicture(state, found);
    }
    return {};
}

QComboBox* makeGlassList(const ShellState& state, QWidget* parent)
{
    return new GlassList([&state](int glass) { return glassPixmap(state, glass); }, parent);
}

void registerDrinkWindows(AppContext& app)
{
    app.windows.addFactory(forms::kDrinks, [&app]() -> QWidget* {
        auto* list = new DrinksList(app);
        QMdiSubWindow* frame = app.windows.add(list, WindowKind::Dialog);
        // Centred across, a little higher than the other windows: 500 twips above the middle.
        const QSize area = app.windows.area()->viewport()->size();
        const TwipRect placed =
            CenterForm({0, 0, toTwips(frame->width()), toTwips(frame->height())},
                       toTwips(area.width()), toTwips(area.height()));
        frame->move(std::max(0, twips(placed.left)), std::max(0, twips(placed.top - 100)));
        list->setFocus();
        return list;
    });
    app.windows.addFactory(forms::kDrinkViewer, [&app]() -> QWidget* {
        auto drink = selectedDrink(app);
        if (!drink) return nullptr;
        auto* viewer = new DrinkViewer(app, std::move(*drink));
        fitInto(app.windows.area(), app.windows.add(viewer, WindowKind::Document));
        app.windows.centerForm(viewer);
        viewer->setFocus();
        return viewer;
    });
    app.windows.addFactory(forms::kNewDrink, [&app]() -> QWidget* {
        auto* editor = new NewDrinkEditor(app);
        // Its height is the program's (3930 twips, 4380 with the character row), and Escape
        // must not throw a drink half typed away: moved and minimised, not resized.
        app.windows.add(editor, WindowKind::Fixed);
        app.windows.centerForm(editor);
        editor->startEditing();
        return editor;
    });
    app.windows.addFactory(forms::kEditDrink, [&app]() -> QWidget* {
        auto drink = selectedDrink(app);
        if (!drink) return nullptr;
        auto* editor = new DrinkEditScreen(app, std::move(*drink));
        app.windows.add(editor, WindowKind::Fixed);
        app.windows.centerForm(editor);
        editor->setFocus();
        return editor;
    });
}

}  // namespace culvora::gui
