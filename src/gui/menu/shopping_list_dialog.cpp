#include "gui/menu/shopping_list_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/menu/shopping_list.h"
#include "gui/app/printing.h"
#include "gui/app/qt_text.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

ShoppingListDialog::ShoppingListDialog(AppContext& app, std::vector<std::string> list,
                                       QWidget* parent)
    : QDialog(parent),
      app_(app),
      list_(std::move(list))
{
    setObjectName(QStringLiteral("frmShoppingList"));
    setWindowTitle(QStringLiteral("Shopping list"));

    auto* heading = new QLabel(QStringLiteral("What the week's dishes need:"), this);
    heading->setObjectName(QStringLiteral("lblShoppingList"));
    heading->setFont(theme::sansFont(10));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtShoppingList"));
    text_->setReadOnly(true);
    text_->setFont(theme::serifFont(11));
    text_->setAccessibleName(QStringLiteral("Shopping list"));
    text_->setAccessibleDescription(
        QStringLiteral("The ingredients of the week's dishes, like ones added up"));
    QStringList lines;
    for (const auto& line : list_) lines << fromCp(line);
    text_->setPlainText(lines.isEmpty() ? QStringLiteral("(The dishes list no ingredients.)")
                                        : lines.join(QLatin1Char('\n')));
    heading->setBuddy(text_);

    auto* printButton = new QPushButton(QStringLiteral("Print"), this);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    printButton->setToolTip(QStringLiteral("Print the shopping list, or save it as a PDF"));
    printButton->setAccessibleName(QStringLiteral("Print the shopping list"));
    printButton->setDefault(true);
    printButton->setEnabled(!list_.empty());
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setAccessibleName(QStringLiteral("Close the shopping list"));
    connect(printButton, &QPushButton::clicked, this, &ShoppingListDialog::printList);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(380, 460);
    printButton->setFocus();
}

void ShoppingListDialog::printList()
{
    // Without a printer the printer service offers a PDF instead.
    if (app_.services.printer.hasPrinter() && !app_.services.prompter.choosePrinter()) return;
    sendToPrinter(QString::fromLatin1(menu::kShoppingListHeading),
                  menu::shoppingListPrintout(list_), app_.services.printer);
}

}  // namespace culvora::gui
