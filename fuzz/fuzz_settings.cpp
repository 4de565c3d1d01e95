// Settings files of any bytes, read as the game reads them: a file is either refused whole or
// read into settings in their ranges that write out and read back the same. Built for
// libFuzzer with clang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings.h"

namespace {
[[noreturn]] void broken(const char* what, const std::string& text) {
    std::fprintf(stderr, "fuzz_settings: %s\n%s\n", what, text.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Settings before{true, 13, std::nullopt};
    Settings settings = before;
    std::string problem;
    if (!parseSettings(text, settings, problem)) {
        if (!(settings == before))
            broken("a refused file changed the settings", text);
        if (problem.empty())
            broken("a refused file has no reason", text);
        return 0;
    }
    if (settings.volume < 0 || settings.volume > MAX_VOLUME)
        broken("a volume out of range was taken", text);
    // Read over settings that differ in every field the file names.
    Settings again{!settings.mute, (settings.volume + 1) % (MAX_VOLUME + 1), std::nullopt};
    if (!parseSettings(formatSettings(settings), again, problem) || !(again == settings))
        broken("written settings do not read back the same", formatSettings(settings));
    return 0;
}
