#pragma once

// Small helpers the window tests share: stand-in windows, what a list shows, a click on a
// button by its control name, and a message as one line.

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include "gui/app/services.h"
#include "gui/app/window_registry.h"
#include "support/gui_fixture.h"

namespace culvora::testing {

// A plain window with a form name: stands in for a screen that another part of the program
// builds, when what is tested is only that it opens.
inline QWidget* namedWindow(const QString& name)
{
    auto* window = new QWidget;
    window->setObjectName(name);
    return window;
}

// Registers a stand-in for the window `name`, in place of the real one if there is one.
// `made`, when given, counts the windows the factory made.
inline void addStandIn(gui::WindowRegistry& windows, const QString& name, int* made = nullptr)
{
    windows.addFactory(name, [name, made] {
        if (made) ++*made;
        return namedWindow(name);
    });
}

// The texts of a list's entries, top to bottom.
inline QStringList itemTexts(const QListWidget* list)
{
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    return shown;
}

inline QStringList itemTexts(const QComboBox* combo)
{
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
    return shown;
}

// The selected entry's text; empty when nothing is selected.
inline QString selectedText(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

// Selects the entry with exactly this text; a missing entry fails the running test.
inline void selectItem(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.front());
}

// Clicks a window's button by its control name; a missing button fails the running test.
inline void clickButton(QWidget* window, const QString& name)
{
    if (auto* button = child<QAbstractButton>(window, name)) button->click();
}

// A message as one line, so a mismatch shows every part at once:
// "[Title] Icon Buttons default Answer: text".
inline QString messageShape(const gui::Message& m)
{
    static const char* const icons[] = {"None", "Information", "Exclamation", "Question", "Stop"};
    static const char* const buttons[] = {"Ok",          "OkCancel",          "YesNo",
                                          "YesNoCancel", "SaveDiscardCancel", "CloseCancel"};
    static const char* const answers[] = {"Ok", "Cancel", "Yes", "No", "Save", "Discard", "Close"};
    return QStringLiteral("[%1] %2 %3 default %4: %5")
        .arg(m.title, QLatin1String(icons[static_cast<int>(m.icon)]),
             QLatin1String(buttons[static_cast<int>(m.buttons)]),
             QLatin1String(answers[static_cast<int>(m.defaultButton)]), m.text);
}

// The shape of a plain message with only an Ok button.
inline QString infoShape(const QString& title, const QString& text, const char* icon = "None")
{
    return QStringLiteral("[%1] %2 Ok default Ok: %3").arg(title, QLatin1String(icon), text);
}

}  // namespace culvora::testing
