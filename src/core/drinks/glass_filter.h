#pragma once

#include <array>
#include <string_view>

namespace culvora::drinks {

// The check marks of the drinks list's glass filter menu. Several glass types may be checked
// at once. "&No filter" is checked at start and after it is chosen, which clears every glass;
// a click on a glass clears it, even a click that unticks the last checked glass (the list
// then shows no drink until a glass or "&No filter" is chosen).
class GlassFilter {
public:
    static constexpr int kGlassCount = 15;
    static constexpr std::array<std::string_view, kGlassCount> kGlassNames = {
        "(Unknown)", "Beer",    "Brandy",  "Champagne", "Cocktail",
        "Coffecup",  "Collins", "Cordial", "Highball",  "Oldfashioned",
        "Pousse",    "Punch",   "Shot",    "Sour",      "Wine"};

    // Clicking a glass toggles it and clears "No filter".
    void toggle(int index)
    {
        if (index < 0 || index >= kGlassCount) return;
        checked_[static_cast<std::size_t>(index)] = !checked_[static_cast<std::size_t>(index)];
        noFilter_ = false;
    }
    // Clicking "No filter" clears every glass and checks itself.
    void clear()
    {
        checked_.fill(false);
        noFilter_ = true;
    }
    bool isChecked(int index) const
    {
        return index >= 0 && index < kGlassCount && checked_[static_cast<std::size_t>(index)];
    }
    bool noFilter() const { return noFilter_; }

private:
    std::array<bool, kGlassCount> checked_{};
    bool noFilter_ = true;
};

}  // namespace culvora::drinks
