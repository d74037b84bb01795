#pragma once

// "frmWebImport", "Import from web page": the cook pastes a page's address or picks a page
// saved as a file, and chooses the type a recipe gets when the page names none of the cook's
// types. The page is read on a thread of its own (a fetch may take a while; "Cancel" stops
// it); its recipe then opens in the new-recipe editor, filled in, for the cook to check and
// save. A page with several recipes shows them in a list to choose from first.

#include <QString>
#include <QWidget>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "core/error.h"
#include "core/transfer/web_recipe.h"
#include "gui/app/app_context.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace culvora::gui {

class TypeList;

// The dialogs' title, on the window and its message boxes.
extern const QString kWebImportTitle;
// The file dialog's filter for a saved page.
extern const QString kWebPageFilter;

class WebImportDialog : public QWidget {
    Q_OBJECT
public:
    explicit WebImportDialog(AppContext& app, QWidget* parent = nullptr);
    // Stops a fetch still running and waits for its thread.
    ~WebImportDialog() override;

    // True while a page is being read.
    bool busy() const { return worker_.joinable(); }
    // The address box, for the registry to put the focus in.
    void startEditing();

public slots:
    void importPage();  // cmdImport "Import": reads the page, or opens the chosen recipe
    void browse();      // cmdBrowse "Browse...": a saved page through the file dialog
    void cancel();      // cmdCancel: stops the reading, else closes the window
    void openHelp();    // cmdHelp

signals:
    // A reading has ended (its recipes or its message are shown).
    void readingEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void startReading(const QString& given);
    void finishReading(Result<std::vector<transfer::WebRecipe>> read);
    void setBusy(bool busy);
    void forgetRecipes();
    // The chosen recipe in the new-recipe editor; this window closes.
    void openRecipe(std::size_t index);
    void fillTypes();

    AppContext& app_;
    QLineEdit* addressBox_ = nullptr;   // txtAddress
    QPushButton* browseButton_ = nullptr;  // cmdBrowse
    TypeList* typeBox_ = nullptr;       // cboType
    QLabel* recipesLabel_ = nullptr;    // lblRecipes
    QComboBox* recipesBox_ = nullptr;   // cboRecipe
    QLabel* statusLabel_ = nullptr;     // lblStatus
    QPushButton* importButton_ = nullptr;  // cmdImport
    QPushButton* cancelButton_ = nullptr;  // cmdCancel

    std::vector<transfer::WebRecipe> recipes_;  // of the page last read, while several
    std::thread worker_;
    std::atomic<bool> cancelled_{false};
};

void registerWebImport(AppContext& app);

}  // namespace culvora::gui
