// Cookbook files handed to the cookbook import and the HTML archive: the import appends
// exactly the chosen file's records that pass the checks of a new recipe, counting the others
// (or refuses a file that is not a cookbook), and the archive's list page links every recipe
// page, whatever tags the records lack. (That there is a page for each of the cookbook's named
// records is the record reader's target.)
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/store/cookbook.h"
#include "core/store/record_check.h"
#include "core/transfer/cookbook_import.h"
#include "core/transfer/html_archive.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    // The first half is the cookbook, the rest the chosen file.
    const std::string_view cookbook = input.substr(0, size / 2);
    const std::string_view chosen = input.substr(size / 2);
    const auto imported = transfer::withImportedCookbook(cookbook, chosen);
    if (imported) {
        // The cookbook keeps its records and gains the chosen file's records that pass the
        // checks of a recipe added by hand, no others. They are counted in the text the import
        // reads (a UTF-8 file converted, its byte-order mark left out).
        const auto text = transfer::cookbookFileText(chosen);
        FUZZ_CHECK(text.has_value());
        std::string appended;
        const auto report = transfer::importedLines(
            cookbook, *text, [&](std::string_view piece) { appended += piece; });
        FUZZ_CHECK(report && *imported == std::string(cookbook) + appended);
        const auto before = store::listNames(cookbook);
        const auto after = store::listNames(*imported);
        const auto added = store::listNames(*text);
        FUZZ_CHECK(after.size() == before.size() + static_cast<std::size_t>(report->imported));
        FUZZ_CHECK(static_cast<std::size_t>(report->imported + report->skippedCount) ==
                   added.size());
        if (report->imported == 0) FUZZ_CHECK(appended.empty());
        for (std::size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(after[i] == before[i]);
        for (std::size_t i = before.size(); i < after.size(); ++i) {
            // A numbered name may run a few characters past the longest name one can type.
            const std::string_view name = after[i];
            FUZZ_CHECK(!store::newNameProblem(name.substr(0, store::kMaxRecipeNameChars)));
        }
    } else if (imported.error().code != ErrorCode::Invalid) {
        // Refused as no cookbook: a UTF-8 file may also be refused for a character the
        // cookbooks' code page cannot hold (ErrorCode::Invalid).
        FUZZ_CHECK(!chosen.starts_with("[NAMN]\r\n") && !chosen.starts_with("[NAMN]\n"));
    }

    transfer::ArchiveOptions options;
    options.frames = size % 2 == 0;
    const auto files = transfer::archiveFiles(input, options);
    const std::size_t frameFiles = options.frames ? 3 : 1;
    FUZZ_CHECK(files.size() >= frameFiles);
    const auto& list = files[frameFiles - 1].content;
    std::size_t links = 0;
    for (auto at = list.find("<a href="); at != std::string::npos;
         at = list.find("<a href=", at + 1)) {
        ++links;
    }
    FUZZ_CHECK(links == files.size() - frameFiles);
    for (std::size_t i = frameFiles; i < files.size(); ++i) {
        FUZZ_CHECK(files[i].content.ends_with("</BODY>\r\n</HTML>\r\n"));
        FUZZ_CHECK(files[i].content.find("<script") == std::string::npos);
    }
    return 0;
}
