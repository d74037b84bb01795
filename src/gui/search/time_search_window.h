#pragma once

// "Sök", "Search recipe": the recipes of the current cookbook of one type, within a cooking
// time, that mention every chosen ingredient word. The time index (sök.tmp) is taken when the
// window opens; each search reads the cookbook as it is at that moment.

#include <QElapsedTimer>
#include <QWidget>

#include <chrono>
#include <string>
#include <vector>

#include "core/search/time_search.h"
#include "gui/app/app_context.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace culvora::gui {

class TimeSearchWindow : public QWidget {
    Q_OBJECT
public:
    explicit TimeSearchWindow(AppContext& app, QWidget* parent = nullptr);

    // The index taken when the window opened.
    const std::vector<search::TimeEntry>& timeIndex() const { return index_; }
    // The hits List1 shows, top to bottom (Windows-1252).
    const std::vector<std::string>& hits() const { return hits_; }

    // The least time between two updates of the running count; the count at the end of a
    // search is always shown.
    void setProgressInterval(std::chrono::milliseconds interval) { progressInterval_ = interval; }

public slots:
    void runSearch();         // "Search"
    void openHit();           // "Open", a double click on a hit, Enter on the hits
    void clearWords();        // "Clear"
    void showMinutesTable();  // "?"

signals:
    // The running count was brought up to date during a search and the window painted.
    void progressShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillLists();
    void showCount(std::size_t hits);
    void showChosen();

    AppContext& app_;
    std::vector<search::TimeEntry> index_;
    std::vector<std::string> types_;  // Combo1, in its order
    std::vector<std::string> words_;  // List2, in its order
    std::vector<std::string> hits_;   // List1, in its order
    std::chrono::milliseconds progressInterval_{33};
    QElapsedTimer progressClock_;

    QComboBox* typeBox_ = nullptr;     // Combo1
    QComboBox* timeBox_ = nullptr;     // Combo2
    QListWidget* wordList_ = nullptr;  // List2
    QListWidget* hitList_ = nullptr;   // List1
    QLabel* countLabel_ = nullptr;     // Label2
    QLabel* noTypesLabel_ = nullptr;
    QLabel* chosenLabel_ = nullptr;
};

}  // namespace culvora::gui
