#include "gui/transfer/mealmaster_export_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#include "core/files/files.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster_export.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

const QString kTitle = QStringLiteral("Export to Meal-Master");

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QStringList MealMasterExportDialog::encodingNames()
{
    return {QStringLiteral("DOS (code page 850)"), QStringLiteral("UTF-8")};
}

MealMasterExportDialog::MealMasterExportDialog(AppContext& app, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(kExportMealMasterForm);
    setWindowTitle(kTitle);

    auto* caption = new QLabel(QStringLiteral("&Recipes to export:"), this);
    caption->setObjectName(QStringLiteral("lblRecipes"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstRecipes"));
    list_->setAccessibleName(QStringLiteral("Recipes to export"));
    list_->setAccessibleDescription(QStringLiteral("Ticked recipes go into the file"));
    caption->setBuddy(list_);

    auto* allButton = new QPushButton(QStringLiteral("Tick &all"), this);
    allButton->setObjectName(QStringLiteral("cmdAll"));
    allButton->setAccessibleName(QStringLiteral("Tick every recipe"));
    auto* noneButton = new QPushButton(QStringLiteral("Tick &none"), this);
    noneButton->setObjectName(QStringLiteral("cmdNone"));
    noneButton->setAccessibleName(QStringLiteral("Untick every recipe"));
    connect(allButton, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(noneButton, &QPushButton::clicked, this, [this] { tickAll(false); });

    auto* encodingCaption = new QLabel(QStringLiteral("&Text encoding:"), this);
    encodingCaption->setObjectName(QStringLiteral("lblEncoding"));
    encoding_ = new QComboBox(this);
    encoding_->setObjectName(QStringLiteral("cboEncoding"));
    encoding_->addItems(encodingNames());
    encoding_->setAccessibleName(QStringLiteral("Text encoding"));
    encoding_->setAccessibleDescription(
        QStringLiteral("Code page 850 for the older programs, UTF-8 for the newer"));
    encodingCaption->setBuddy(encoding_);

    exportButton_ = new QPushButton(QStringLiteral("&Export..."), this);
    exportButton_->setObjectName(QStringLiteral("cmdExport"));
    exportButton_->setAccessibleName(QStringLiteral("Export the ticked recipes"));
    exportButton_->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton->setAccessibleName(QStringLiteral("Close without exporting"));
    connect(exportButton_, &QPushButton::clicked, this, &MealMasterExportDialog::exportRecipes);
    connect(cancelButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* ticks = new QHBoxLayout;
    ticks->addWidget(allButton);
    ticks->addWidget(noneButton);
    ticks->addStretch();
    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(encodingCaption);
    encodingRow->addWidget(encoding_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addLayout(ticks);
    layout->addLayout(encodingRow);
    layout->addLayout(buttons);
    resize(380, 480);

    fillList();
    exportButton_->setFocus();
}

void MealMasterExportDialog::fillList()
{
    auto records =
        transfer::recordsForExport(app_.state.folder, app_.state.currentCookbookFile, {});
    if (!records) {
        app_.services.prompter.inform(toQString(records.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        exportButton_->setEnabled(false);
        return;
    }
    records_ = std::move(*records);
    // Shown in the program's alphabetical order; each item knows its record, so two recipes
    // of one name are two items.
    std::vector<std::string> names;
    for (const auto& record : records_) names.push_back(record.name);
    for (std::size_t i : text::collatedOrder(names)) {
        auto* item = new QListWidgetItem(fromCp(records_[i].name), list_);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    exportButton_->setEnabled(!records_.empty());
}

void MealMasterExportDialog::tickAll(bool ticked)
{
    for (int i = 0; i < list_->count(); ++i) {
        list_->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void MealMasterExportDialog::exportRecipes()
{
    Prompter& prompter = app_.services.prompter;
    std::vector<std::size_t> ticked;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) {
            ticked.push_back(list_->item(i)->data(Qt::UserRole).toULongLong());
        }
    }
    if (ticked.empty()) {
        // Nothing ticked is nothing to write: say so rather than write an empty file.
        prompter.inform(QStringLiteral("Tick the recipes to export."), kTitle,
                        MessageIcon::Information);
        return;
    }
    // The file keeps the cookbook's order.
    std::ranges::sort(ticked);
    std::vector<store::RecipeRecord> chosen;
    for (std::size_t i : ticked) chosen.push_back(records_[i]);

    const QString proposed =
        fromCp(std::filesystem::path(app_.state.currentCookbookFile).stem().string()) +
        QStringLiteral(".mmf");
    const QString file = prompter.saveFileName(
        kTitle, QStringLiteral("Meal-Master (*.mmf *.mm *.txt);;All files (*)"),
        QStringLiteral("mmf"), proposed);
    if (file.isEmpty()) return;
    const auto encoding = encoding_->currentIndex() == 1 ? transfer::ExportEncoding::Utf8
                                                         : transfer::ExportEncoding::Cp850;
    const auto exported = transfer::exportMealMaster(chosen, encoding);
    if (auto written = writeOutputFile(std::filesystem::path(file.toStdString()), exported.bytes);
        !written) {
        prompter.inform(toQString(written.error()), QStringLiteral("Error"),
                        MessageIcon::Exclamation);
        return;
    }
    prompter.inform(fromUtf8(transfer::exportedMessage(exported)), kTitle,
                    exported.replaced > 0 ? MessageIcon::Exclamation : MessageIcon::Information);
    app_.windows.closeWindow(this);
}

}  // namespace culvora::gui
