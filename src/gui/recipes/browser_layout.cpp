#include "gui/recipes/browser_layout.h"

#include <algorithm>
#include <cstdlib>

#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::gui {

using namespace browser_grid;

std::string headingCaption(std::string_view header)
{
    if (header.empty()) return {};
    if (header.front() == 'V') return "- V/W -";
    return std::string("- ") + header.front() + " -";
}

TwipRect placeBrowser(int frameWidth, int frameHeight, int areaWidth, int areaHeight)
{
    TwipRect r{0, 0, frameWidth, frameHeight};
    r.left = std::max(0, (areaWidth - frameWidth) / 2);
    r.top = std::max(0, (areaHeight - frameHeight) / 2 - 500);
    return r;
}

BrowserLayout::BrowserLayout() : headings_(1), names_(1)
{
}

void BrowserLayout::place(const std::vector<store::IndexEntry>& entries)
{
    headings_.assign(1, Placed{});
    names_.assign(1, Placed{});
    entries_.clear();
    entries_.reserve(entries.size());
    names_.reserve(entries.size() + 1);
    shift_ = 0;

    // The list says which entries are the 25 letter headers: a recipe whose name merely looks
    // like one stays a name, so heading i + 1 is always the letter of button i.
    int top = kFirstTop;
    for (std::size_t p = 0; p < entries.size(); ++p) {
        const int column = static_cast<int>(p / kEntriesPerColumn);
        if (p % kEntriesPerColumn == 0) top = kFirstTop;
        if (entries[p].heading) {
            headings_.push_back({headingCaption(entries[p].text), column, top, true});
            entries_.push_back({LabelKind::Heading, headingCount()});
            top += kHeadingStep;
        } else {
            names_.push_back({entries[p].text, column, top, true});
            entries_.push_back({LabelKind::Name, nameCount()});
            top += kNameStep;
        }
    }
    allEntries_ = entries_;
    filtered_ = false;
}

BrowserLayout::Placed* BrowserLayout::placedForChange(LabelRef ref)
{
    return const_cast<Placed*>(placed(ref));
}

void BrowserLayout::filterNames(const std::vector<char>& keep)
{
    filtered_ = !keep.empty();
    shift_ = 0;
    for (std::size_t i = 1; i < names_.size(); ++i) {
        names_[i].kept = !filtered_ || (i < keep.size() && keep[i] != 0);
    }
    // A heading stays when a name it heads does.
    LabelRef heading;
    for (LabelRef ref : allEntries_) {
        if (ref.kind == LabelKind::Heading) {
            heading = ref;
            placedForChange(ref)->kept = !filtered_;
        } else if (filtered_ && heading && isVisible(ref)) {
            placedForChange(heading)->kept = true;
        }
    }
    entries_.clear();
    for (LabelRef ref : allEntries_) {
        // Without a filter a deleted name keeps its gap, as it does when nothing is found.
        if (!filtered_ || isVisible(ref)) entries_.push_back(ref);
    }
    int top = kFirstTop;
    for (std::size_t p = 0; p < entries_.size(); ++p) {
        if (p % kEntriesPerColumn == 0) top = kFirstTop;
        Placed& label = *placedForChange(entries_[p]);
        label.column = static_cast<int>(p / kEntriesPerColumn);
        label.top = top;
        top += entries_[p].kind == LabelKind::Heading ? kHeadingStep : kNameStep;
    }
}

int BrowserLayout::firstGridName() const
{
    for (LabelRef ref : entries_) {
        if (ref.kind == LabelKind::Name && isVisible(ref)) return ref.index;
    }
    return 0;
}

int BrowserLayout::gridNameCount() const
{
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [this](LabelRef ref) {
        return ref.kind == LabelKind::Name && isVisible(ref);
    }));
}

int BrowserLayout::lastGridHeading() const
{
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->kind == LabelKind::Heading) return it->index;
    }
    return 0;
}

const BrowserLayout::Placed* BrowserLayout::placed(LabelRef ref) const
{
    const std::vector<Placed>* labels = nullptr;
    if (ref.kind == LabelKind::Heading) labels = &headings_;
    if (ref.kind == LabelKind::Name) labels = &names_;
    if (!labels || ref.index < 0 || ref.index >= static_cast<int>(labels->size())) return nullptr;
    return &(*labels)[static_cast<std::size_t>(ref.index)];
}

int BrowserLayout::columnLeft(int column) const
{
    return kFirstColumnLeft + kColumnWidth * column + shift_;
}

int BrowserLayout::lastColumn() const
{
    if (entries_.empty()) return 0;
    return static_cast<int>((entries_.size() - 1) / kEntriesPerColumn);
}

BrowserLabel BrowserLayout::label(LabelRef ref) const
{
    const Placed* p = placed(ref);
    if (!p) return {};
    return {p->caption, left(ref), p->top, p->visible};
}

const std::string& BrowserLayout::caption(LabelRef ref) const
{
    static const std::string none;
    const Placed* p = placed(ref);
    return p ? p->caption : none;
}

int BrowserLayout::left(LabelRef ref) const
{
    const Placed* p = placed(ref);
    if (!p) return 0;
    if (ref.index == 0) return 0;  // the templates never move
    return columnLeft(p->column) + (ref.kind == LabelKind::Heading ? kHeadingIndent : 0);
}

int BrowserLayout::top(LabelRef ref) const
{
    const Placed* p = placed(ref);
    return p ? p->top : 0;
}

bool BrowserLayout::isVisible(LabelRef ref) const
{
    const Placed* p = placed(ref);
    return p && p->visible && p->kept;
}

bool BrowserLayout::canScrollLeft() const
{
    // The first column never moves right of its starting place. With the A heading in the
    // first column this is the same as "the first heading is not at 725"; it also stops "<"
    // running off into emptiness when many names sort before A.
    return shift_ < 0;
}

bool BrowserLayout::canScrollRight() const
{
    if (const int last = lastGridHeading();
        last > 0 && left({LabelKind::Heading, last}) > kLastHeadingLimit) {
        return true;
    }
    // Names after the last heading (a long Z, or Å, Ä, Ö) can fill many columns: ">" goes on
    // until the last of them is on screen.
    return !entries_.empty() && columnLeft(lastColumn()) >= kShownRight;
}

bool BrowserLayout::scrollLeft()
{
    if (!canScrollLeft()) return false;
    shift_ += kColumnWidth;
    return true;
}

bool BrowserLayout::scrollRight()
{
    if (!canScrollRight()) return false;
    shift_ -= kColumnWidth;
    return true;
}

int BrowserLayout::pressLetter(int letterIndex)
{
    const LabelRef target{LabelKind::Heading, letterIndex + 1};
    if (letterIndex < 0 || target.index > headingCount() || !isVisible(target)) return 0;
    int presses = 0;
    // Every press moves a whole column, so the heading arrives within as many presses as there
    // are columns; the bound only guards against a rule that refuses to move.
    for (int guard = lastColumn() + 1; guard >= 0; --guard) {
        const int at = left(target);
        if (at == kFirstColumnHeadingLeft) break;
        if (at > kFirstColumnHeadingLeft) {
            if (!scrollRight()) break;
            ++presses;
        } else {
            if (!scrollLeft()) break;
            --presses;
        }
    }
    return presses;
}

std::vector<LabelRef> BrowserLayout::shownLabels() const
{
    std::vector<LabelRef> shown;
    const int firstShown = -shift_ / kColumnWidth;
    for (int column = firstShown; columnLeft(column) < kShownRight; ++column) {
        const std::size_t begin = static_cast<std::size_t>(column) * kEntriesPerColumn;
        const std::size_t end = std::min(entries_.size(), begin + kEntriesPerColumn);
        for (std::size_t p = begin; p < end; ++p) {
            if (isVisible(entries_[p])) shown.push_back(entries_[p]);
        }
        if (end == entries_.size()) break;
    }
    return shown;
}

LabelRef BrowserLayout::hitTest(int x, int y, const LabelSizes& sizes) const
{
    const int offset = x - columnLeft(0);
    if (offset < 0) return {};
    const int column = offset / kColumnWidth;
    if (columnLeft(column) < kFirstColumnLeft || columnLeft(column) >= kShownRight) return {};
    const std::size_t begin = static_cast<std::size_t>(column) * kEntriesPerColumn;
    const std::size_t end = std::min(entries_.size(), begin + kEntriesPerColumn);
    for (std::size_t p = begin; p < end; ++p) {
        const LabelRef ref = entries_[p];
        if (!isVisible(ref)) continue;
        const int l = left(ref);
        const int t = top(ref);
        const int h = ref.kind == LabelKind::Heading ? sizes.headingHeight : sizes.nameHeight;
        const int w = sizes.width ? sizes.width(ref) : 0;
        if (x >= l && x < l + w && y >= t && y < t + h) return ref;
    }
    return {};
}

TwipRect BrowserLayout::hoverBar(int nameIndex, int nameWidth, int nameHeight) const
{
    const LabelRef ref{LabelKind::Name, nameIndex};
    return {left(ref) - kBarLead, top(ref) + nameHeight, nameWidth + kBarExtraWidth, kBarHeight};
}

void BrowserLayout::hideName(int index)
{
    if (index <= 0 || index > nameCount()) return;
    Placed& p = names_[static_cast<std::size_t>(index)];
    p.visible = false;
    p.caption.clear();
}

int BrowserLayout::findName(std::string_view caption) const
{
    for (int i = 1; i <= nameCount(); ++i) {
        const Placed& p = names_[static_cast<std::size_t>(i)];
        if (p.visible && p.caption == caption) return i;
    }
    return -1;
}

std::size_t BrowserLayout::occurrenceOf(int nameIndex) const
{
    if (nameIndex <= 0 || nameIndex > nameCount()) return 0;
    const std::string& caption = names_[static_cast<std::size_t>(nameIndex)].caption;
    std::size_t before = 0;
    // Equal names stand together in the list, with at most hidden labels between them.
    for (int i = nameIndex - 1; i >= 1; --i) {
        const Placed& p = names_[static_cast<std::size_t>(i)];
        if (p.visible && p.caption == caption) {
            ++before;
        } else if (p.visible) {
            break;
        }
    }
    return before;
}

int BrowserLayout::findName(std::string_view caption, std::size_t occurrence) const
{
    const int first = findName(caption);
    if (first < 0) return -1;
    std::size_t seen = 0;
    for (int i = first; i <= nameCount(); ++i) {
        const Placed& p = names_[static_cast<std::size_t>(i)];
        if (!p.visible) continue;
        if (p.caption != caption) break;
        if (seen++ == occurrence) return i;
    }
    return -1;
}

int BrowserLayout::stepName(int from, NameStep step) const
{
    auto visible = [this](int i) { return isVisible({LabelKind::Name, i}); };
    const int count = nameCount();
    auto firstFrom = [&](int i, int direction) {
        for (; i >= 1 && i <= count; i += direction) {
            if (visible(i)) return i;
        }
        return 0;
    };
    if (from <= 0 || from > count || !visible(from)) {
        if (step == NameStep::First) return firstFrom(1, 1);
        if (step == NameStep::Last) return firstFrom(count, -1);
        for (LabelRef ref : shownLabels()) {
            if (ref.kind == LabelKind::Name) return ref.index;
        }
        return firstFrom(1, 1);
    }
    const int column = names_[static_cast<std::size_t>(from)].column;
    const int top = names_[static_cast<std::size_t>(from)].top;
    // The name nearest to `top` in the first column on the given side that has one.
    auto inColumn = [&](int direction) {
        int best = 0;
        for (int i = from + direction; i >= 1 && i <= count; i += direction) {
            if (!visible(i)) continue;
            const Placed& p = names_[static_cast<std::size_t>(i)];
            if (p.column == column) continue;
            if (best != 0 && p.column != names_[static_cast<std::size_t>(best)].column) break;
            if (best == 0 || std::abs(p.top - top) <
                                 std::abs(names_[static_cast<std::size_t>(best)].top - top)) {
                best = i;
            }
        }
        return best == 0 ? from : best;
    };
    switch (step) {
    case NameStep::Previous: return firstFrom(from - 1, -1) ? firstFrom(from - 1, -1) : from;
    case NameStep::Next: return firstFrom(from + 1, 1) ? firstFrom(from + 1, 1) : from;
    case NameStep::PreviousColumn: return inColumn(-1);
    case NameStep::NextColumn: return inColumn(1);
    case NameStep::First: return firstFrom(1, 1);
    case NameStep::Last: return firstFrom(count, -1);
    }
    return from;
}

int BrowserLayout::findNameStartingWith(std::string_view prefix, int from) const
{
    const int count = nameCount();
    if (prefix.empty() || count == 0) return 0;
    const std::string wanted = text::toLower(prefix);
    from = std::clamp(from, 1, count);
    for (int n = 0; n < count; ++n) {
        const int i = (from - 1 + n) % count + 1;
        const Placed& p = names_[static_cast<std::size_t>(i)];
        if (p.visible && p.kept && text::toLower(p.caption).starts_with(wanted)) return i;
    }
    return 0;
}

bool BrowserLayout::isShown(LabelRef ref) const
{
    const Placed* p = placed(ref);
    if (!p || ref.index == 0) return false;
    const int l = columnLeft(p->column);
    return l >= kFirstColumnLeft && l < kShownRight;
}

int BrowserLayout::scrollIntoView(LabelRef ref)
{
    const Placed* p = placed(ref);
    if (!p || ref.index == 0) return 0;
    int presses = 0;
    for (int guard = lastColumn() + 1; guard >= 0 && !isShown(ref); --guard) {
        if (columnLeft(p->column) >= kShownRight) {
            if (!scrollRight()) break;
            ++presses;
        } else {
            if (!scrollLeft()) break;
            --presses;
        }
    }
    return presses;
}

}  // namespace culvora::gui

namespace culvora::gui {

std::vector<LabelRef> BrowserLayout::visibleLabels() const
{
    std::vector<LabelRef> visible;
    visible.reserve(entries_.size());
    for (LabelRef ref : entries_) {
        if (isVisible(ref)) visible.push_back(ref);
    }
    return visible;
}

int BrowserLayout::firstShownHeading() const
{
    const std::size_t first = static_cast<std::size_t>(-shift_ / kColumnWidth) * kEntriesPerColumn;
    for (std::size_t p = std::min(first + 1, entries_.size()); p > 0; --p) {
        if (entries_[p - 1].kind == LabelKind::Heading) return entries_[p - 1].index;
    }
    return 0;
}

}  // namespace culvora::gui
