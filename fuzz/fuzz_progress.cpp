// Progress files of any bytes, read as the game reads them: a file is either refused whole or
// read into levels in their range that write out and read back the same. Built for libFuzzer
// with clang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "progress.h"

namespace {
[[noreturn]] void broken(const char* what, const std::string& text) {
    std::fprintf(stderr, "fuzz_progress: %s\n%s\n", what, text.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Progress before = {{"levels", 9}};
    Progress progress = before;
    std::string problem;
    if (!parseProgress(text, progress, problem)) {
        if (progress != before)
            broken("a refused file changed the progress", text);
        if (problem.empty())
            broken("a refused file has no reason", text);
        return 0;
    }
    for (const auto& [campaign, level] : progress) {
        if (level < 1 || level > PACK_LEVEL_LIMIT)
            broken("a level out of range was taken", text);
        if (campaign != "levels" && (campaign.empty() || campaign[0] != '/'))
            broken("a campaign that is no folder was taken", text);
    }
    Progress again = {{"/other", 3}};
    if (!parseProgress(formatProgress(progress), again, problem) || again != progress)
        broken("written progress does not read back the same", formatProgress(progress));
    return 0;
}
