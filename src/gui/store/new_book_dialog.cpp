#include "gui/store/new_book_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/store/cookbook_list.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/store/cookbooks_dialog.h"

namespace culvora::gui {

NewBookDialog::NewBookDialog(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kNewBook);
    setWindowTitle(QStringLiteral("New book"));

    // The proposal counts the titles the Cookbooks dialog shows.
    std::size_t count = 0;
    if (auto* books = app.windows.find<CookbooksDialog>(forms::kCookbooks)) {
        count = static_cast<std::size_t>(books->titleCount());
    } else if (auto entries = store::CookbookList(app.state.folder).read()) {
        count = entries->size();
    }
    const auto proposal = store::proposeNewBook(count);

    auto* titleLabel = new QLabel(QStringLiteral("Title of book:"), this);
    titleLabel->setObjectName(QStringLiteral("Label1"));
    titleBox_ = new QLineEdit(fromCp(proposal.title), this);
    titleBox_->setObjectName(QStringLiteral("Text1"));
    titleLabel->setBuddy(titleBox_);

    auto* fileLabel = new QLabel(QStringLiteral("Filename:"), this);
    fileLabel->setObjectName(QStringLiteral("Label2"));
    fileBox_ = new QLineEdit(fromCp(proposal.file), this);
    fileBox_->setObjectName(QStringLiteral("Text2"));
    fileLabel->setBuddy(fileBox_);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    for (auto* b : {ok, cancel}) b->setMinimumWidth(twips(1300));
    connect(ok, &QPushButton::clicked, this, &NewBookDialog::accept);
    connect(cancel, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setVerticalSpacing(4);
    layout->addWidget(titleLabel, 0, 0);
    layout->addWidget(titleBox_, 1, 0);
    layout->addItem(new QSpacerItem(0, 8), 2, 0);
    layout->addWidget(fileLabel, 3, 0);
    layout->addWidget(fileBox_, 4, 0);
    layout->addItem(new QSpacerItem(0, 12), 5, 0);
    layout->addLayout(buttons, 6, 0);
    titleBox_->setMinimumWidth(twips(4200));
}

void NewBookDialog::startEditing()
{
    titleBox_->setFocus();
    titleBox_->selectAll();
}

void NewBookDialog::refuse(const QString& message, QLineEdit* box)
{
    app_.services.prompter.beep();
    app_.services.prompter.inform(message, QStringLiteral("Error"));
    box->setFocus();
    box->selectAll();
}

void NewBookDialog::accept()
{
    auto title = toCp(titleBox_->text());
    if (!title) return refuse(toQString(title.error()), titleBox_);
    auto file = toCp(fileBox_->text());
    if (!file) return refuse(toQString(file.error()), fileBox_);

    store::CookbookList books(app_.state.folder);
    auto entries = books.read();
    if (!entries) return refuse(toQString(entries.error()), fileBox_);
    if (auto problem = store::checkNewBook(*entries, books.folder(), *title, *file)) {
        return refuse(QString::fromStdString(problem->message),
                      problem->field == store::NewBookField::Title ? titleBox_ : fileBox_);
    }
    if (auto added = books.add(*title, *file); !added) {
        return refuse(toQString(added.error()), fileBox_);
    }
    if (auto* dialog = app_.windows.find<CookbooksDialog>(forms::kCookbooks)) {
        dialog->fillList(false);
    }
    app_.windows.closeWindow(this);
}

}  // namespace culvora::gui
