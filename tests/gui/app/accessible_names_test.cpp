// Every control of every window has a name and a description a screen reader can say: the
// table's where it has them, the control's caption, the label beside it or its tool tip where
// it does not.

#include <QAccessible>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "gui/app/accessible_names.h"
#include "gui/app/window_names.h"
#include "gui/widgets/accessibility.h"
#include "support/every_window.h"

using namespace culvora;
using namespace culvora::gui;

namespace {

// What a reader says: a drop-down list's name on Linux is the entry it shows, and the reader
// names the list after the label it is the buddy of.
QString said(QWidget* control, QAccessible::Text text)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (!face) return {};
    if (text == QAccessible::Name && qobject_cast<QComboBox*>(control)) {
        QStringList labels;
        for (const auto& [label, relation] : face->relations(QAccessible::Label)) {
            labels << label->text(QAccessible::Name).remove(QLatin1Char('&'));
        }
        return labels.join(QLatin1Char(' '));
    }
    return face->text(text);
}

// "form/control (class)" for every interactive control of the window a reader cannot name or
// describe; hidden ones (another step of a wizard, a row shown on demand) count too.
QStringList unnamed(QWidget* window)
{
    QStringList missing;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!isInteractiveControl(control, window) || isHiddenFromScreenReaders(control)) continue;
        const QString where = QStringLiteral("%1/%2 (%3)")
                                  .arg(window->objectName(), control->objectName(),
                                       control->metaObject()->className());
        if (said(control, QAccessible::Name).trimmed().isEmpty()) missing << where + " name";
        // A tab strip says its chosen tab; the tabs carry the descriptions.
        if (qobject_cast<QTabBar*>(control)) continue;
        if (said(control, QAccessible::Description).trimmed().isEmpty()) {
            missing << where + " description";
        }
    }
    return missing;
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlOfEveryWindowHasANameAndADescription()
    {
        testing::EveryWindow f;
        QStringList missing = unnamed(&f.main());
        QStringList notOpened;
        for (QLatin1String form : testing::everyForm()) {
            QWidget* window = f.open(form);
            if (!window) {
                notOpened << form;
                continue;
            }
            missing << unnamed(window);
            f.closeAll();
        }
        QCOMPARE(notOpened, QStringList());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    void theTableNamesWhatAControlIsAndDescribesWhatItDoes()
    {
        testing::EveryWindow f;
        struct Case {
            QLatin1String form;
            const char* control;
            const char* name;
            const char* description;
        };
        const Case cases[] = {
            {forms::kWelcome, "Image5", "Recipes", "View available recipes"},
            {forms::kWelcome, "Command1(4)", "Backup", "Create backup"},
            {forms::kBrowser, "Command2", "New recipe", "Add a new recipe to your cookbook"},
            {forms::kBrowser, "Command8", "Scroll left", "Show the column before"},
            {forms::kBrowser, "Command12", "Options", "See some more options"},
            {forms::kRecipeTypes, "List1", "Recipe types", "The types a recipe can be given"},
            {forms::kEditRecipe, "t4", "Ingredients", "One ingredient a line"},
            // The label in front of it and the card round it.
            {forms::kSearch, "Combo1", "Search for dishes that are: Options",
             "The type of dish to look for"},
            {forms::kBackup, "Combo1", "Destination", "Where the copies go"},
            {forms::kNewRecipe, "Command9", "Three quarters", "Type \u00be where the cursor is"},
            {forms::kCalculator, "Command4", "Calculate", "Add up the dish again"},
            {forms::kFridgeSearch, "List1", "What you have at home",
             "Tick what you have at home (click or press Space)"},
        };
        for (const Case& c : cases) {
            QWidget* window = c.form == forms::kWelcome ? f.windows().find(c.form) : f.open(c.form);
            QVERIFY2(window, c.form.data());
            auto* control = window->findChild<QWidget*>(QLatin1String(c.control));
            QVERIFY2(control, c.control);
            QCOMPARE(said(control, QAccessible::Name), QString::fromUtf8(c.name));
            QCOMPARE(said(control, QAccessible::Description), QString::fromUtf8(c.description));
            f.closeAll();
        }
    }

    void aControlTheTableLeavesOutIsNamedAfterItsLabelHintOrTip()
    {
        // A window of no known form: only the fallbacks can name its controls.
        QWidget window;
        window.setObjectName(QStringLiteral("unknownForm"));
        auto* form = new QFormLayout(&window);
        auto* time = new QLineEdit;
        form->addRow(QStringLiteral("Cooking &time:"), time);
        auto* row = new QHBoxLayout;
        auto* type = new QComboBox;
        type->addItems({QStringLiteral("Desserts"), QStringLiteral("Hot dish")});
        row->addWidget(new QLabel(QStringLiteral("Type of dish")));
        row->addStretch();
        row->addWidget(type);
        form->addRow(row);
        auto* buddied = new QListWidget;
        auto* caption = new QLabel(QStringLiteral("&Words:"));
        caption->setBuddy(buddied);
        form->addRow(caption);
        form->addRow(buddied);
        auto* hinted = new QLineEdit;
        hinted->setPlaceholderText(QStringLiteral("e.g. garlic"));
        form->addRow(hinted);
        auto* picture = new QPushButton;
        picture->setToolTip(QStringLiteral("Choose a picture"));
        auto* caret = new QPushButton(QStringLiteral("..."));
        caret->setToolTip(QStringLiteral("Browse for a file"));
        auto* plain = new QPushButton(QStringLiteral("&Add new..."));
        form->addRow(picture);
        form->addRow(caret);
        form->addRow(plain);

        describeControls(&window);
        QCOMPARE(said(time, QAccessible::Name), QStringLiteral("Cooking time"));
        // The drop-down list is named by its label, not by the entry it shows.
        QCOMPARE(said(type, QAccessible::Name), QStringLiteral("Type of dish"));
        QCOMPARE(said(buddied, QAccessible::Name), QStringLiteral("Words"));
        QCOMPARE(said(hinted, QAccessible::Name), QStringLiteral("e.g. garlic"));
        QCOMPARE(said(picture, QAccessible::Name), QStringLiteral("Choose a picture"));
        QCOMPARE(said(caret, QAccessible::Name), QStringLiteral("Browse for a file"));
        QCOMPARE(said(plain, QAccessible::Name), QStringLiteral("Add new..."));
        QVERIFY(plain->accessibleName().isEmpty());  // its caption, kept current by Qt
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names_test.moc"
