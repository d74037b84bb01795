#include "core/store/recipe_types.h"

#include <algorithm>

#include "core/text/text.h"

namespace culvora::store {

namespace {

}  // namespace

bool isOriginalType(std::string_view name)
{
    return std::find(kOriginalTypes.begin(), kOriginalTypes.end(), name) != kOriginalTypes.end();
}

std::vector<std::string> parseTypes(std::string_view content)
{
    std::vector<std::string> types;
    for (auto line : text::splitLineViews(content)) {
        if (!line.empty()) types.emplace_back(line);
    }
    return types;
}

std::vector<std::string> typesToWrite(std::vector<std::string> types)
{
    for (auto original : kOriginalTypes) {
        if (std::find(types.begin(), types.end(), original) == types.end()) {
            types.emplace_back(original);
        }
    }
    std::stable_sort(types.begin(), types.end(), text::CollateLess{});
    return types;
}

std::string formatTypes(std::vector<std::string> types)
{
    return text::joinLines(typesToWrite(std::move(types)));
}

Result<std::vector<std::string>> readTypes(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kTypesFile);
    if (!content) return std::unexpected(content.error());
    return parseTypes(*content);
}

Result<void> writeTypes(const ProgramFolder& folder, std::vector<std::string> types)
{
    return folder.write(kTypesFile, formatTypes(std::move(types)), kTypesTemp);
}

Result<void> checkTypeName(std::string_view name)
{
    if (name.find_first_not_of(' ') == std::string_view::npos) {
        return fail(ErrorCode::Invalid, "Please type the name of the type.");
    }
    bool control = std::any_of(name.begin(), name.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
    if (control) return fail(ErrorCode::Invalid, "The name of a type must be one line of text.");
    return {};
}

Result<void> addType(const ProgramFolder& folder, std::string_view name)
{
    if (auto valid = checkTypeName(name); !valid) return valid;
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto types = readTypes(folder);
    if (!types) return std::unexpected(types.error());
    if (std::find(types->begin(), types->end(), name) != types->end()) {
        return fail(ErrorCode::Refused,
                    "The type " + text::quotedForMessage(name) + " already exists.");
    }
    types->emplace_back(name);
    return writeTypes(folder, std::move(*types));
}

Result<void> removeType(const ProgramFolder& folder, std::string_view name)
{
    if (isOriginalType(name)) return fail(ErrorCode::Refused, std::string(kOriginalTypeMessage));
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto types = readTypes(folder);
    if (!types) return std::unexpected(types.error());
    auto it = std::find(types->begin(), types->end(), name);
    if (it == types->end()) {
        return fail(ErrorCode::NotFound,
                    "There is no type called " + text::quotedForMessage(name) + ".");
    }
    types->erase(it);
    return writeTypes(folder, std::move(*types));
}

}  // namespace culvora::store
