#pragma once

// "kylen", "The Fridge": the recipes that can be cooked from what is at home. The user marks
// the Fridge-list words at hand; a search lists every recipe whose recognised ingredients are
// all marked, with a progress panel in place of the window meanwhile. Marks can be kept in a
// fridge file (".kyl") and opened again.

#include <QElapsedTimer>
#include <QWidget>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "gui/app/app_context.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QStackedLayout;

namespace culvora::gui {

class FridgeSearchWindow : public QWidget {
    Q_OBJECT
public:
    explicit FridgeSearchWindow(AppContext& app, QWidget* parent = nullptr);
    ~FridgeSearchWindow() override;

    // List1's words top to bottom, and the marked ones among them (Windows-1252).
    const std::vector<std::string>& words() const { return words_; }
    std::vector<std::string> marked() const;
    // List3's recipes top to bottom.
    const std::vector<std::string>& found() const { return found_; }

    // The least time between two updates of the progress panel; the first and the last state
    // of a search are always shown.
    void setProgressInterval(std::chrono::milliseconds interval) { progressInterval_ = interval; }

public slots:
    void runSearch();   // "Search"
    void openFound();   // "&Open", Enter on a result
    void clearMarks();  // "Delete all"
    void openFridge();  // "Open another fridge"
    void saveFridge();  // "Save this fridge"
    void openHelp();    // "Help"

signals:
    // The progress panel was brought up to date during a search and the window painted.
    void progressShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildProgressPanel();
    void fillWords();
    void showProgress(int bar, const std::string& percent, std::size_t found);
    void markFromClick(QListWidgetItem* item);
    void markChanged(QListWidgetItem* item);
    void showMarkCount();
    void removeSearchCopy();

    AppContext& app_;
    std::vector<std::string> words_;  // List1, in its order (the word table)
    std::vector<std::string> found_;  // List3, in its order
    bool searching_ = false;
    std::chrono::milliseconds progressInterval_{33};
    QElapsedTimer progressClock_;
    std::size_t markCount_ = 0;
    QListWidgetItem* pressedItem_ = nullptr;
    Qt::CheckState pressedState_ = Qt::Unchecked;

    QStackedLayout* panels_ = nullptr;
    QWidget* mainPanel_ = nullptr;      // Picture1
    QWidget* progressPanel_ = nullptr;  // Picture2
    QListWidget* wordList_ = nullptr;   // List1
    QListWidget* foundList_ = nullptr;  // List3
    QLabel* noWordsLabel_ = nullptr;
    QLabel* markCountLabel_ = nullptr;
    QLabel* resultLabel_ = nullptr;
    QProgressBar* bar_ = nullptr;     // prog
    QLabel* foundLabel_ = nullptr;    // label4
    QLabel* percentLabel_ = nullptr;  // Label2
};

}  // namespace culvora::gui
