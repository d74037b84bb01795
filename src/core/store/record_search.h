#pragma once

// Finding one record by its name without walking the whole cookbook: the name itself is
// searched for, and a place where it stands counts only when it is a name line (a whole line
// right after a "[NAMN]" tag line, where a run of "[NAMN]" lines alternates tag and name line).
// The record is then read from its tag line on by the store's own rules, so the result is the
// one parseRecord() gives over the whole content. This is what lets the viewer open one recipe
// of a large cookbook without reading or listing all of it.

#include <optional>
#include <string_view>

#include "core/error.h"
#include "core/store/cookbook.h"

namespace culvora::store {

// The first record whose name line equals the name, as parseRecord(content, name) gives it.
std::optional<RecipeRecord> findRecordByName(std::string_view content, std::string_view name);
// The n-th record of that name (RecordKey), as parseRecord(content, key) gives it: the name
// lines equal to the name are counted as they are found.
std::optional<RecipeRecord> findRecordByName(std::string_view content, RecordKey key);

// The same while the cookbook is read piece by piece: reading stops at the end of the record,
// and no more than a piece and some context is held. The outer optional is empty when the
// pieces cannot settle it (a name after some 64 KB of "[NAMN]" lines, or a name the search
// cannot find, such as one that reads "[NAMN]"): the whole file is then to be read. The inner
// one is empty when the cookbook holds no such record.
Result<std::optional<std::optional<RecipeRecord>>>
recordFromPieces(const ReadMore& read, std::string_view name, std::size_t pieceSize = 1024 * 1024);
Result<std::optional<std::optional<RecipeRecord>>>
recordFromPieces(const ReadMore& read, RecordKey key, std::size_t pieceSize = 1024 * 1024);

// Whether a cookbook file of the data folder holds a recipe of that name (a name line equal to
// it); a missing file holds none. Read piece by piece up to the first such record.
Result<bool> holdsName(const ProgramFolder& folder, const std::string& cookbookFile,
                       std::string_view name);

}  // namespace culvora::store
