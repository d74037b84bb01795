#include "gui/transfer/web_import_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/recipe_types.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/type_list.h"

namespace culvora::gui {

namespace {

// The type a recipe gets at first when the page names none of the cook's: the one the other
// imports give, when typer.txt holds it.
const QString kFirstDefaultType = QStringLiteral("Imported");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList fromUtf8(const std::vector<std::string>& lines)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) list.append(fromUtf8(line));
    return list;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(twips(1300));
    return b;
}

}  // namespace

const QString kWebImportTitle = QStringLiteral("Import from web page");
const QString kWebPageFilter = QStringLiteral("Web pages (*.html *.htm);;All files (*)");

WebImportDialog::WebImportDialog(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kWebImport);
    setWindowTitle(kWebImportTitle);
    setProperty("paper", true);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::transferStyle());

    auto* intro = new QLabel(QStringLiteral("Culvora reads the recipe that a recipe site builds "
                                            "into its page: paste the page's address, or "
                                            "choose a page you saved."),
                             this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);

    auto* addressLabel = new QLabel(QStringLiteral("&Web address or saved page:"), this);
    addressLabel->setObjectName(QStringLiteral("lblAddress"));
    addressBox_ = new QLineEdit(this);
    addressBox_->setObjectName(QStringLiteral("txtAddress"));
    addressBox_->setPlaceholderText(QStringLiteral("https://"));
    addressBox_->setMinimumWidth(twips(5400));
    addressBox_->setAccessibleName(QStringLiteral("Web address or saved page"));
    addressBox_->setAccessibleDescription(
        QStringLiteral("The address of a recipe page, beginning with https://, or the path of "
                       "a page saved as a file"));
    addressLabel->setBuddy(addressBox_);
    browseButton_ = button("cmdBrowse", QStringLiteral("&Browse..."), this);
    browseButton_->setAccessibleDescription(QStringLiteral("Choose a web page saved as a file"));

    auto* typeLabel = new QLabel(QStringLiteral("&Type, when the page names none of yours:"), this);
    typeLabel->setObjectName(QStringLiteral("lblType"));
    typeBox_ = new TypeList(this);
    typeBox_->setObjectName(QStringLiteral("cboType"));
    typeBox_->setAccessibleName(QStringLiteral("Type of dish"));
    typeBox_->setAccessibleDescription(
        QStringLiteral("The recipe type the recipe gets when the page's categories name none "
                       "of your types"));
    typeLabel->setBuddy(typeBox_);

    recipesLabel_ = new QLabel(QStringLiteral("&Recipe on the page:"), this);
    recipesLabel_->setObjectName(QStringLiteral("lblRecipes"));
    recipesBox_ = new QComboBox(this);
    recipesBox_->setObjectName(QStringLiteral("cboRecipe"));
    recipesBox_->setAccessibleName(QStringLiteral("Recipe on the page"));
    recipesBox_->setAccessibleDescription(
        QStringLiteral("The page holds several recipes: the one to open in the editor"));
    recipesLabel_->setBuddy(recipesBox_);
    recipesLabel_->hide();
    recipesBox_->hide();

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("lblStatus"));
    statusLabel_->setProperty("hint", true);
    statusLabel_->setWordWrap(true);

    importButton_ = button("cmdImport", QStringLiteral("&Import"), this);
    importButton_->setDefault(true);
    importButton_->setAccessibleDescription(
        QStringLiteral("Read the page and open its recipe in the New recipe window"));
    cancelButton_ = button("cmdCancel", QStringLiteral("Cancel"), this);
    cancelButton_->setAccessibleDescription(
        QStringLiteral("Stop reading the page, or close this window"));
    auto* helpButton = button("cmdHelp", QStringLiteral("&Help"), this);
    helpButton->setAccessibleDescription(QStringLiteral("How to import a recipe from a web page"));
    connect(importButton_, &QPushButton::clicked, this, &WebImportDialog::importPage);
    connect(browseButton_, &QPushButton::clicked, this, &WebImportDialog::browse);
    connect(cancelButton_, &QPushButton::clicked, this, &WebImportDialog::cancel);
    connect(helpButton, &QPushButton::clicked, this, &WebImportDialog::openHelp);
    connect(addressBox_, &QLineEdit::textEdited, this, [this] { forgetRecipes(); });

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->addWidget(addressLabel, 0, 0, 1, 2);
    fields->addWidget(addressBox_, 1, 0);
    fields->addWidget(browseButton_, 1, 1);
    fields->addWidget(typeLabel, 2, 0, 1, 2);
    fields->addWidget(typeBox_, 3, 0);
    fields->addWidget(recipesLabel_, 4, 0, 1, 2);
    fields->addWidget(recipesBox_, 5, 0);
    auto* left = new QVBoxLayout;
    left->addWidget(intro);
    left->addLayout(fields);
    left->addWidget(statusLabel_);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(importButton_);
    buttons->addWidget(cancelButton_);
    buttons->addSpacing(12);
    buttons->addWidget(helpButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->setSpacing(14);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    fillTypes();
}

WebImportDialog::~WebImportDialog()
{
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

void WebImportDialog::fillTypes()
{
    auto types = store::readTypes(app_.state.folder);
    if (!types) {
        app_.services.prompter.inform(toQString(types.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    for (const std::string& type : *types) typeBox_->addItem(fromCp(type));
    const int imported = typeBox_->findText(kFirstDefaultType, Qt::MatchFixedString);
    if (typeBox_->count() > 0) typeBox_->setCurrentIndex(imported >= 0 ? imported : 0);
}

void WebImportDialog::startEditing()
{
    addressBox_->setFocus();
}

void WebImportDialog::browse()
{
    const QString file =
        app_.services.prompter.openFileName(QStringLiteral("Open a saved web page"), kWebPageFilter);
    if (file.isEmpty()) return;
    addressBox_->setText(file);
    forgetRecipes();
    importButton_->setFocus();
}

void WebImportDialog::importPage()
{
    if (busy()) return;
    if (!recipes_.empty()) {
        openRecipe(static_cast<std::size_t>(std::max(0, recipesBox_->currentIndex())));
        return;
    }
    const QString given = addressBox_->text().trimmed();
    if (given.isEmpty()) {
        app_.services.prompter.inform(
            QStringLiteral("Please paste the address of a recipe page, or choose a saved page "
                           "with Browse."),
            kWebImportTitle, MessageIcon::Exclamation);
        addressBox_->setFocus();
        return;
    }
    startReading(given);
}

void WebImportDialog::startReading(const QString& given)
{
    cancelled_ = false;
    setBusy(true);
    const std::string address = given.toStdString();
    worker_ = std::thread([this, address] {
        auto read = transfer::readWebRecipesFrom(address, &cancelled_);
        // Handed to the window's thread; dropped when the window has gone meanwhile (it waits
        // for this thread before it goes).
        QMetaObject::invokeMethod(
            this, [this, read = std::move(read)]() mutable { finishReading(std::move(read)); },
            Qt::QueuedConnection);
    });
}

void WebImportDialog::finishReading(Result<std::vector<transfer::WebRecipe>> read)
{
    if (worker_.joinable()) worker_.join();
    setBusy(false);
    if (!read) {
        statusLabel_->clear();
        if (cancelled_) {
            statusLabel_->setText(fromUtf8(exchange::kFetchCancelledMessage));
        } else {
            app_.services.prompter.inform(toQString(read.error()), kWebImportTitle,
                                          MessageIcon::Exclamation);
        }
        addressBox_->setFocus();
        emit readingEnded();
        return;
    }
    if (read->size() == 1) {
        recipes_ = std::move(*read);
        emit readingEnded();
        openRecipe(0);
        return;
    }
    recipes_ = std::move(*read);
    recipesBox_->clear();
    for (const auto& recipe : recipes_) recipesBox_->addItem(fromUtf8(recipe.name));
    recipesLabel_->show();
    recipesBox_->show();
    statusLabel_->setText(QStringLiteral("The page holds %1 recipes. Choose one and press "
                                         "Import.")
                              .arg(recipes_.size()));
    recipesBox_->setFocus();
    emit readingEnded();
}

void WebImportDialog::setBusy(bool busy)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             addressBox_, browseButton_, typeBox_, recipesBox_, importButton_}) {
        control->setEnabled(!busy);
    }
    if (busy) {
        setCursor(Qt::BusyCursor);
        statusLabel_->setText(QStringLiteral("Reading the page... Cancel stops it."));
        cancelButton_->setFocus();
    } else {
        unsetCursor();
        statusLabel_->clear();
    }
}

void WebImportDialog::forgetRecipes()
{
    if (recipes_.empty()) return;
    recipes_.clear();
    recipesBox_->clear();
    recipesLabel_->hide();
    recipesBox_->hide();
    statusLabel_->clear();
}

void WebImportDialog::cancel()
{
    if (busy()) {
        cancelled_ = true;
        statusLabel_->setText(QStringLiteral("Stopping..."));
        return;
    }
    app_.windows.closeWindow(this);
}

void WebImportDialog::closeEvent(QCloseEvent* event)
{
    cancelled_ = true;
    QWidget::closeEvent(event);
}

void WebImportDialog::openHelp()
{
    app_.services.opener.openDocument(helpPage(app_.state, "webimport.html"));
}

void WebImportDialog::openRecipe(std::size_t index)
{
    if (index >= recipes_.size()) return;
    const transfer::WebRecipe& recipe = recipes_[index];
    std::vector<std::string> types;
    if (auto read = store::readTypes(app_.state.folder)) types = std::move(*read);
    auto defaultType = toCp(typeBox_->currentText());
    const std::string type =
        transfer::chooseType(recipe.categories, types, defaultType ? *defaultType : std::string());
    if (newRecipeHoldsText(app_) &&
        !app_.services.prompter.confirm(
            QStringLiteral("The New recipe window holds a recipe that has not been saved. Put "
                           "the page's recipe in its place?"),
            kWebImportTitle)) {
        return;
    }
    // Texts Windows-1252 cannot hold come along as they are: the editor's Save names them,
    // and the cook can change them there.
    NewRecipeFields fields{fromUtf8(recipe.name),          fromUtf8(recipe.servings),
                           fromUtf8(recipe.cookingTime),   fromUtf8(recipe.ingredients),
                           fromUtf8(recipe.instructions),  fromCp(type)};
    // This window goes first, so that the editor keeps the focus.
    AppContext& app = app_;
    app.windows.closeWindow(this);
    if (!openNewRecipeWith(app, fields)) {
        app.services.prompter.inform(QStringLiteral("The New recipe window cannot be opened."),
                                     kWebImportTitle, MessageIcon::Exclamation);
    }
}

void registerWebImport(AppContext& app)
{
    app.windows.addFactory(forms::kWebImport, [&app]() -> QWidget* {
        auto* dialog = new WebImportDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        dialog->startEditing();
        return dialog;
    });
    app.shell.setMenuAction(menus::kImportWebPage,
                            [&app] { app.windows.open(forms::kWebImport); });
}

}  // namespace culvora::gui
