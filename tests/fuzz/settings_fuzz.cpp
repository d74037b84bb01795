// tavendi.ini (line 1 the current cookbook's file, line 2 the tips flag) as any hand edit may
// leave it, read from a real data folder the way the program starts: the file name read is
// one line, and the start-up choice follows from it (or from bocker.txt).
//
// fuzz-options: -max_len=4096

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/app/settings.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"
#include "fuzz_support.h"

namespace {

using namespace culvora;
namespace fs = std::filesystem;

// One data folder for the whole run, under $TMPDIR (the build tree when CTest runs us), and
// removed at a normal exit.
struct ScratchFolder {
    fs::path path;
    ScratchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "culvora-settings-fuzz.XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

const fs::path& dataFolder()
{
    static const ScratchFolder folder;
    return folder.path;
}

void writeFile(const fs::path& file, std::string_view content)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    FUZZ_CHECK(out.good());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const ProgramFolder folder(dataFolder());
    // The same bytes serve as bocker.txt, for the start-up choice when line 1 is empty.
    writeFile(folder.path() / app::kSettingsFile, content);
    writeFile(folder.path() / store::kCookbookListFile, content);

    const auto lines = text::splitLineViews(content);
    const auto settings = app::readSettings(folder);
    FUZZ_CHECK(!fuzz::hasLineBreak(settings.cookbookFile));
    FUZZ_CHECK(settings.cookbookFile == (lines.empty() ? std::string_view() : lines[0]));
    FUZZ_CHECK(settings.found == !settings.cookbookFile.empty());
    FUZZ_CHECK(settings.tips == (lines.size() > 1 && lines[1] == "1"));

    const std::string start = app::startCookbook(folder);
    FUZZ_CHECK(!fuzz::hasLineBreak(start));
    if (settings.found) {
        FUZZ_CHECK(start == settings.cookbookFile);
    } else {
        const auto fallback = store::fallbackCookbook(store::parseCookbookList(content));
        FUZZ_CHECK(start == (fallback ? fallback->file : std::string(app::kStandardCookbookFile)));
    }
    return 0;
}
