// Cookbook files handed to the cookbook import and the HTML archive: the import appends
// exactly the chosen file's records (or refuses a file that is not a cookbook), and the
// archive's list page links every recipe page, whatever tags the records lack. (That there is
// a page for each of the cookbook's records is the record reader's target.)
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/store/cookbook.h"
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
        auto before = store::listNames(cookbook);
        // Counted in the text the import reads (a UTF-8 file converted, its byte-order mark
        // left out).
        const auto text = transfer::cookbookFileText(chosen);
        FUZZ_CHECK(text.has_value());
        const auto added = store::listNames(*text);
        FUZZ_CHECK(store::listNames(*imported).size() >= before.size());
        FUZZ_CHECK(store::listNames(*imported).size() <= before.size() + added.size() + 1);
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
