#pragma once

// The browser's find field: the recipes whose name holds what the user typed, or, in the
// "every word" mode, whose any line does (name, servings, time, ingredient and instruction
// lines, type). Texts are compared through the collation's fold (text::foldForFind): case and
// accents do not count, Å, Ä and Ö stay letters of their own, W finds V. The query is a plain
// substring, blanks included.
//
// The cookbook is read once, through the record reader, into two folded texts (the names, and
// every field line of every record, one line after another); a query then only searches them.
// A line of the folded texts ends with a line feed, which a query cannot hold, so a hit never
// runs from one line into the next, nor from one record into another; nor can a tag line give
// a hit ("[IND]" is not a line of any field).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/record_reader.h"

namespace culvora::search {

enum class FindMode {
    Names,       // the recipe's name
    Everywhere,  // every line of the record
};

class RecipeFinder {
public:
    RecipeFinder() = default;
    explicit RecipeFinder(std::string_view cookbook);

    // The number of records read.
    std::size_t size() const { return names_.size(); }
    // A record by its place in the file (from 0): its name, and the key that names it among
    // records of the same name.
    const std::string& name(std::size_t ordinal) const { return names_[ordinal]; }
    store::RecordKey key(std::size_t ordinal) const
    {
        return {names_[ordinal], occurrences_[ordinal]};
    }

    // The places of the records that hold the query, in the browser's order: the collation
    // order of the names, records of one name in file order. An empty query finds every
    // record; a query with a line break finds none (no line holds one).
    std::vector<std::size_t> find(std::string_view query, FindMode mode) const;

    // The same as names, in that order.
    std::vector<std::string> findNames(std::string_view query, FindMode mode) const;

private:
    std::vector<std::string> names_;          // in file order
    std::vector<std::size_t> occurrences_;    // how many records before have the same name
    std::vector<std::size_t> rank_;           // each record's place in the browser's order
    std::vector<std::size_t> order_;          // the places in the browser's order
    std::string foldedNames_;                 // each name folded, followed by '\n'
    std::vector<std::size_t> nameStarts_;     // where each record's name starts in it
    std::string foldedLines_;                 // every field line folded, each followed by '\n'
    std::vector<std::size_t> recordStarts_;   // where each record's lines start in it
};

}  // namespace culvora::search
