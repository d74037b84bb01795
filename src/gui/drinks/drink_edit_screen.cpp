#include "gui/drinks/drink_edit_screen.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/recipes/recipe_edit.h"
#include "gui/app/app_context.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/drinks/drink_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/editor_fields.h"
#include "gui/widgets/glass_list.h"

namespace culvora::gui {

namespace {

constexpr QSize kSize(640, 330);

// A block of lines as its box shows it: lines apart, no line end after the last.
QString shownBox(const std::string& readForm)
{
    QString text = fromCp(recipes::boxText(readForm));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

DrinkEditScreen::DrinkEditScreen(AppContext& app, drinks::Drink loaded, QWidget* parent)
    : QWidget(parent),
      app_(app),
      loaded_(std::move(loaded)),
      storedGlass_(drinks::glassIndex(loaded_.glass)),
      shownIngredients_(shownBox(loaded_.ingredients)),
      shownInstructions_(shownBox(loaded_.instructions))
{
    setObjectName(forms::kEditDrink);
    setWindowTitle(QStringLiteral("Edit drink"));
    buildControls();
    fill();
}

QSize DrinkEditScreen::sizeHint() const
{
    return kSize;
}

void DrinkEditScreen::buildControls()
{
    setAttribute(Qt::WA_StyledBackground);
    setProperty("drinks", true);
    setStyleSheet(theme::drinksStyle());
    setFixedSize(kSize);

    nameLabel_ = new QLabel(this);
    nameLabel_->setObjectName(QStringLiteral("Label1"));
    nameLabel_->setFont(theme::serifFont(16));
    nameLabel_->setProperty("heading", true);
    nameLabel_->setTextFormat(Qt::PlainText);

    auto textBox = [this](const char* name) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setFont(theme::serifFont(11));
        box->setTabChangesFocus(true);
        return box;
    };
    ingredientsBox_ = textBox("Text1");
    instructionsBox_ = textBox("Text2");

    glassList_ = makeGlassList(app_.state, this);

    storedGlassLabel_ = new QLabel(this);
    storedGlassLabel_->setObjectName(QStringLiteral("Label3"));
    storedGlassLabel_->setFont(theme::sansFont(8.5));
    storedGlassLabel_->setTextFormat(Qt::PlainText);
    storedGlassLabel_->setToolTip(QStringLiteral("The glass the drink was saved with"));

    picture_ = makeGlassPicture(this);

    auto button = [this](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(theme::sansFont(10));
        b->setToolTip(tip);
        b->setMinimumSize(90, 28);
        return b;
    };
    auto* ok = button("Command1", QStringLiteral("Ok"), QStringLiteral("Keep the changes"));
    auto* cancel = button("Command2", QStringLiteral("Cancel"),
                          QStringLiteral("Close without saving the changes"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DrinkEditScreen::save);
    connect(cancel, &QPushButton::clicked, this, &DrinkEditScreen::cancel);
    connect(glassList_, &QComboBox::currentIndexChanged, this, &DrinkEditScreen::showChosenGlass);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(10);
    texts->setVerticalSpacing(3);
    texts->addWidget(
        makeCaption(QStringLiteral("Ingredients:"), ingredientsBox_, this, "Label2(0)"), 0, 0);
    texts->addWidget(makeCaption(QStringLiteral("To do:"), instructionsBox_, this, "Label2(1)"), 0,
                     1);
    texts->addWidget(ingredientsBox_, 1, 0);
    texts->addWidget(instructionsBox_, 1, 1);
    texts->setColumnStretch(0, 1);
    texts->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* fields = new QVBoxLayout;
    fields->setSpacing(8);
    fields->addWidget(nameLabel_);
    fields->addLayout(texts, 1);
    fields->addLayout(buttons);

    auto* glassCaption = new QHBoxLayout;
    glassCaption->setSpacing(6);
    glassCaption->addWidget(makeCaption(QStringLiteral("Glass:"), glassList_, this, "label4"));
    glassCaption->addWidget(storedGlassLabel_, 1);

    auto* glass = new QVBoxLayout;
    glass->setContentsMargins(0, 0, 0, 0);
    glass->setSpacing(4);
    glass->addLayout(glassCaption);
    glass->addWidget(glassList_);
    glass->addSpacing(4);
    glass->addWidget(picture_, 0, Qt::AlignHCenter);
    glass->addStretch();
    auto* glassColumn = new QWidget(this);
    glassColumn->setFixedWidth(140);
    glassColumn->setLayout(glass);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(14);
    layout->addLayout(fields, 1);
    layout->addWidget(glassColumn);

    setTabOrder(ingredientsBox_, instructionsBox_);
    setTabOrder(instructionsBox_, glassList_);
    setTabOrder(glassList_, ok);
    setTabOrder(ok, cancel);
    setFocusProxy(ingredientsBox_);
}

void DrinkEditScreen::fill()
{
    nameLabel_->setText(fromCp(loaded_.name));
    nameLabel_->setToolTip(nameLabel_->text());
    ingredientsBox_->setPlainText(shownIngredients_);
    instructionsBox_->setPlainText(shownInstructions_);

    if (storedGlass_ < 0) return;
    storedGlassLabel_->setText(fromCp(loaded_.glass));
    glassList_->setCurrentIndex(storedGlass_);
    picture_->setPixmap(glassPixmap(app_.state, storedGlass_));
}

bool DrinkEditScreen::hasChanges() const
{
    return boxText(ingredientsBox_) != shownIngredients_ ||
           boxText(instructionsBox_) != shownInstructions_ ||
           glassList_->currentIndex() != storedGlass_;
}

void DrinkEditScreen::showChosenGlass(int glass)
{
    picture_->setPixmap(glassPixmap(app_.state, glass));
}

std::optional<std::string> DrinkEditScreen::boxContent(const QPlainTextEdit* box,
                                                       const QString& shown,
                                                       const std::string& loaded,
                                                       const QString& what)
{
    const QString now = boxText(box);
    if (now == shown) return recipes::boxText(loaded);
    const QByteArray utf8 = now.toUtf8();
    auto cp = drinks::drinkText({utf8.constData(), static_cast<std::size_t>(utf8.size())});
    if (cp) return std::move(*cp);
    app_.services.prompter.inform(what + QStringLiteral(" cannot be saved. ") +
                                      toQString(cp.error()),
                                  QStringLiteral("Error"), MessageIcon::Exclamation);
    return std::nullopt;
}

void DrinkEditScreen::save()
{
    const auto ingredients = boxContent(ingredientsBox_, shownIngredients_, loaded_.ingredients,
                                        QStringLiteral("The ingredients"));
    if (!ingredients) {
        ingredientsBox_->setFocus();
        return;
    }
    const auto instructions = boxContent(instructionsBox_, shownInstructions_, loaded_.instructions,
                                         QStringLiteral("The mixing instructions"));
    if (!instructions) {
        instructionsBox_->setFocus();
        return;
    }
    // The glass as stored, in its own spelling, unless another one was chosen.
    const int chosen = glassList_->currentIndex();
    const std::string glass =
        chosen < 0 || chosen == storedGlass_
            ? loaded_.glass
            : std::string(drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(chosen)]);

    if (auto saved =
            drinks::saveEditedDrink(app_.state.folder, loaded_, *ingredients, *instructions, glass);
        !saved) {
        app_.services.prompter.inform(toQString(saved.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    letInputGo();  // saved: closing asks nothing
    app_.windows.closeWindow(this);
}

void DrinkEditScreen::cancel()
{
    // The cook's own word that the changes go: no question.
    letInputGo();
    app_.windows.closeWindow(this);
}

QString DrinkEditScreen::unsavedInputName() const
{
    return QStringLiteral("the drink ") + quotedName(fromCp(loaded_.name));
}

void DrinkEditScreen::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace culvora::gui
