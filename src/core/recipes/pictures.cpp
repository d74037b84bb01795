#include "core/recipes/pictures.h"

#include <algorithm>

#include "core/text/text.h"

namespace culvora::recipes {

namespace {

Result<void> checkLine(std::string_view what, std::string_view value)
{
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return fail(ErrorCode::Invalid, "The " + std::string(what) + " must be one line.");
    }
    return {};
}

Result<std::vector<PictureEntry>> readPictures(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kPicturesFile);
    if (!content) return std::unexpected(content.error());
    return parsePictures(*content);
}

}  // namespace

std::vector<PictureEntry> parsePictures(std::string_view content)
{
    std::vector<PictureEntry> entries;
    text::LineReader reader(content);
    while (auto name = reader.next()) {
        auto path = reader.next();
        if (!path) break;
        entries.push_back({std::string(*name), std::string(*path)});
    }
    return entries;
}

std::string formatPictures(const std::vector<PictureEntry>& entries)
{
    std::string out;
    for (const auto& entry : entries) {
        out += entry.name;
        out += text::kCrLf;
        out += entry.path;
        out += text::kCrLf;
    }
    return out;
}

std::optional<std::string> findPicture(const std::vector<PictureEntry>& entries,
                                       std::string_view name)
{
    auto it = std::ranges::find_if(entries, [&](const PictureEntry& e) { return e.name == name; });
    if (it == entries.end()) return std::nullopt;
    return it->path;
}

Result<std::optional<std::string>> picturePath(const ProgramFolder& folder, std::string_view name)
{
    auto entries = readPictures(folder);
    if (!entries) return std::unexpected(entries.error());
    return findPicture(*entries, name);
}

Result<void> addPicture(const ProgramFolder& folder, std::string_view name, std::string_view path)
{
    if (auto ok = checkLine("recipe's name", name); !ok) return ok;
    if (auto ok = checkLine("picture's file name", path); !ok) return ok;
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = folder.readOrEmpty(kPicturesFile);
    if (!content) return std::unexpected(content.error());
    // A file cut off after a name gets its line end first, so the new pair stays a pair.
    std::string updated = *content;
    if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r') {
        updated += text::kCrLf;
    }
    updated += formatPictures({{std::string(name), std::string(path)}});
    return folder.write(kPicturesFile, updated, kPicturesTemp);
}

Result<void> setPicture(const ProgramFolder& folder, std::string_view name, std::string_view path)
{
    if (auto ok = checkLine("recipe's name", name); !ok) return ok;
    if (auto ok = checkLine("picture's file name", path); !ok) return ok;
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = folder.readOrEmpty(kPicturesFile);
    if (!content) return std::unexpected(content.error());
    auto entries = parsePictures(*content);
    auto it = std::ranges::find_if(entries, [&](const PictureEntry& e) { return e.name == name; });
    if (it == entries.end()) return addPicture(folder, name, path);
    it->path = std::string(path);
    // A lone name at the end (no path line) is kept as it was.
    std::string updated = formatPictures(entries);
    const auto all = text::splitLines(*content);
    if (all.size() % 2 == 1) {
        updated += all.back();
        updated += text::kCrLf;
    }
    return folder.write(kPicturesFile, updated, kPicturesTemp);
}

}  // namespace culvora::recipes
