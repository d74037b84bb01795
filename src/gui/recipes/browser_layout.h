#pragma once

// The recipe browser's labels as a model, in twips: the letter headings (bokstav) and the
// recipe names (ratt) placed in columns of ten, scrolled a column at a time and found under
// the mouse. A cookbook may list 20,000 names, so the window creates no widget per label: it
// paints the few labels this model says are on screen.
//
// Both arrays count from 1: element 0 is an invisible template, the labels made from the list
// are 1..headingCount() and 1..nameCount(), and a label index handed to DeleteRecipe or found
// by the viewer's Delete means the same label everywhere.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/geometry.h"

namespace culvora::gui {

namespace browser_grid {
inline constexpr int kEntriesPerColumn = 10;
inline constexpr int kFirstColumnLeft = 500;
inline constexpr int kColumnWidth = 3000;
inline constexpr int kFirstTop = 1450;
inline constexpr int kHeadingIndent = 225;
inline constexpr int kHeadingStep = 480;
inline constexpr int kNameStep = 350;
// A heading stands in the first column exactly when its left edge is here.
inline constexpr int kFirstColumnHeadingLeft = kFirstColumnLeft + kHeadingIndent;
// ">" moves while the last heading lies right of this.
inline constexpr int kLastHeadingLimit = 2725;
// The window shows the columns whose left edge lies from the first column up to here.
inline constexpr int kShownRight = 9500;
// The hover bar: 50 left of the name, 200 wider than it, 20 high, under its bottom edge.
inline constexpr int kBarLead = 50;
inline constexpr int kBarExtraWidth = 200;
inline constexpr int kBarHeight = 20;
}  // namespace browser_grid

enum class LabelKind { None, Heading, Name };

struct LabelRef {
    LabelKind kind = LabelKind::None;
    int index = 0;  // in bokstav for a heading, in ratt for a name
    bool operator==(const LabelRef&) const = default;
    explicit operator bool() const { return kind != LabelKind::None; }
};

struct BrowserLabel {
    std::string caption;  // Windows-1252, as the cookbook holds it
    int left = 0;         // scrolling included
    int top = 0;
    bool visible = false;
    bool operator==(const BrowserLabel&) const = default;
};

// The label sizes the window measures in its fonts, in twips.
struct LabelSizes {
    std::function<int(LabelRef)> width;
    int nameHeight = 255;
    int headingHeight = 390;
};

// The heading caption for a list header "A -------": "- A -", and "- V/W -" for V.
std::string headingCaption(std::string_view header);

// Where the browser goes in the MDI area: centred horizontally, its top 500 twips above the
// centred position, kept inside the area so that its title bar can always be reached.
TwipRect placeBrowser(int frameWidth, int frameHeight, int areaWidth, int areaHeight);

class BrowserLayout {
public:
    BrowserLayout();

    // Creates the labels for the sorted list: headings for the 25 letter headers, names for
    // everything else, in list order on the grid.
    void place(const std::vector<store::IndexEntry>& entries);

    int headingCount() const { return static_cast<int>(headings_.size()) - 1; }
    int nameCount() const { return static_cast<int>(names_.size()) - 1; }

    BrowserLabel label(LabelRef ref) const;
    BrowserLabel heading(int index) const { return label({LabelKind::Heading, index}); }
    BrowserLabel name(int index) const { return label({LabelKind::Name, index}); }
    const std::string& caption(LabelRef ref) const;
    int left(LabelRef ref) const;
    int top(LabelRef ref) const;
    bool isVisible(LabelRef ref) const;

    // "<" and ">": every label moves a column to the right or to the left. False (and nothing
    // moves) when the rule does not allow it.
    bool canScrollLeft() const;
    bool canScrollRight() const;
    bool scrollLeft();
    bool scrollRight();

    // The letter strip: presses ">" (counted positive) or "<" (negative) until the heading of
    // letter button `letterIndex` (heading letterIndex + 1) stands in the first column.
    // Returns the presses made.
    int pressLetter(int letterIndex);

    // The labels that are visible and lie in the columns the window shows, in list order.
    std::vector<LabelRef> shownLabels() const;

    // The shown label at a point (twips, in the window's grid coordinates), or none.
    LabelRef hitTest(int x, int y, const LabelSizes& sizes) const;

    // The hover bar under a name label of the given width and height.
    TwipRect hoverBar(int nameIndex, int nameWidth, int nameHeight) const;

    // A deleted or moved recipe: the label is hidden and its caption emptied; the others
    // keep their places.
    void hideName(int index);

    // --- The keyboard ----------------------------------------------------------------------
    enum class NameStep { Previous, Next, PreviousColumn, NextColumn, First, Last };
    // The name an arrow key (or Home, End) leads to from name `from`: the previous or next
    // visible name in list order, the nearest visible name in the column before or after, the
    // first or last name. From 0 (no name chosen yet) an arrow leads to the first name on
    // screen. 0 when there is no name at all; `from` itself where the list ends.
    int stepName(int from, NameStep step) const;
    // The first visible name whose caption begins with the prefix (Windows-1252, compared
    // without regard to case), looking from name `from` on and round to the start; 0 for none.
    int findNameStartingWith(std::string_view prefix, int from = 1) const;
    // True when the label's column is one the window shows.
    bool isShown(LabelRef ref) const;
    // Scrolls a column at a time until the label's column is shown; the presses made, counted
    // as pressLetter counts them.
    int scrollIntoView(LabelRef ref);
    // The first visible name label whose caption equals the name, or -1.
    int findName(std::string_view caption) const;
    // Which recipe of its name a name label stands for: the list keeps equal names in file
    // order, so the labels of one name before it (a hidden one is empty and counts no more)
    // are the records of that name before its own.
    std::size_t occurrenceOf(int nameIndex) const;
    // The visible name label of the n-th recipe of that name, or -1.
    int findName(std::string_view caption, std::size_t occurrence) const;

    // --- The find field -------------------------------------------------------------------
    // Shows only the names marked in `keep` (by name label: element i for label i, element 0
    // unused) and the headings of the letters that keep a visible name, placed on the grid
    // again from the first column in list order; the rest are left out until the next call.
    // An empty `keep` shows every label where place() put it. Either way the grid starts again
    // at its first column.
    void filterNames(const std::vector<char>& keep);
    bool isFiltered() const { return filtered_; }
    // The visible names on the grid, in list order: the first (0 when there is none) and how
    // many.
    int firstGridName() const;
    int gridNameCount() const;

    // --- What a screen reader is given --------------------------------------------------------
    // Every visible label, shown or scrolled away, in list order.
    std::vector<LabelRef> visibleLabels() const;
    // The heading whose letter the first shown column begins in (the one at its top, or the
    // last one before it); 0 when the column begins before the first heading.
    int firstShownHeading() const;

private:
    struct Placed {
        std::string caption;
        int column = 0;
        int top = 0;
        bool visible = false;
        bool kept = true;  // kept by the find field's filter
    };

    const Placed* placed(LabelRef ref) const;
    int columnLeft(int column) const;
    int lastColumn() const;

    std::vector<Placed> headings_;
    std::vector<Placed> names_;
    // The labels on the grid in list order: entry p stands in column p / 10. Every label of
    // the list, or those the find field keeps.
    std::vector<LabelRef> entries_;
    std::vector<LabelRef> allEntries_;  // every label, in list order
    bool filtered_ = false;
    Placed* placedForChange(LabelRef ref);
    int lastGridHeading() const;  // list order: entry p stands in column p / 10
    int shift_ = 0;                  // how far the labels have been scrolled, in twips
};

}  // namespace culvora::gui
