// The player's own files: where they are found, the settings file read back as written, and a
// garbled, hostile or missing one that only ever means the defaults; and the command line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "options.h"
#include "settings.h"
#include "testutil.h"
#include "userfiles.h"

namespace {

TEST(PlayerFolders, ComeFromTheXdgVariablesOrElseFromHome) {
    ScopedHome home;
    EXPECT_EQ(configDirectory(), home.path() + "/XDG_CONFIG_HOME/skarlume");
    EXPECT_EQ(dataDirectory(), home.path() + "/XDG_DATA_HOME/skarlume");
    EXPECT_EQ(stateDirectory(), home.path() + "/XDG_STATE_HOME/skarlume");

    // An empty or relative variable is ignored, as the XDG rules say: home decides.
    const std::string savedHome = std::getenv("HOME");
    setenv("HOME", "/home/player", 1);
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(configDirectory(), "/home/player/.config/skarlume");
    EXPECT_EQ(dataDirectory(), "/home/player/.local/share/skarlume");
    EXPECT_EQ(stateDirectory(), "/home/player/.local/state/skarlume");
    unsetenv("HOME");
    EXPECT_EQ(configDirectory(), "");
    std::string error;
    EXPECT_FALSE(makeDirectories(configDirectory(), error));
    EXPECT_NE(error.find("no home"), std::string::npos) << error;
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(PlayerFolders, AFileInTheWayOfAFolderIsReported) {
    ScratchDir dir;
    const std::string file = dir.write("taken", "x");
    std::string error;
    EXPECT_FALSE(makeDirectories(file + "/skarlume", error));
    EXPECT_FALSE(makeDirectories(file, error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
    EXPECT_TRUE(makeDirectories(dir.path() + "/a/b/c", error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/a/b/c"));
}

TEST(PlayerFiles, AReadStopsAtItsLimitAndRefusesFolders) {
    ScratchDir dir;
    const std::string path = dir.write("big", std::string(200000, 'x'));
    std::string text, error;
    EXPECT_FALSE(readWholeFile(path, text, error, 100000));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(readWholeFile(path, text, error, 200000)) << error;
    EXPECT_EQ(text.size(), 200000u);
    EXPECT_FALSE(readWholeFile(dir.path(), text, error));
    EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
    // A device never ends: the limit still ends the read.
    EXPECT_FALSE(readWholeFile("/dev/zero", text, error, 1000));
}

TEST(SettingsFile, ReadsBackWhatItWrote) {
    for (Settings written : {Settings{}, Settings{true, 0, true}, Settings{false, 100, false},
                             Settings{true, 37, std::nullopt}}) {
        Settings read{true, 5, true};
        std::string problem;
        ASSERT_TRUE(parseSettings(formatSettings(written), read, problem)) << problem;
        EXPECT_EQ(read.mute, written.mute);
        EXPECT_EQ(read.volume, written.volume);
        // A file with no choice of fullscreen leaves the choice as it was.
        if (written.fullscreen)
            EXPECT_EQ(read.fullscreen, written.fullscreen);
        else
            EXPECT_EQ(read.fullscreen, std::optional<bool>(true));
    }
}

TEST(SettingsFile, TakesBlanksCommentsLineEndsAndKeysOfALaterVersion) {
    Settings settings;
    std::string problem;
    ASSERT_TRUE(
        parseSettings("# mine\r\n\r\n  volume=  7 \r\nmute = yes\ncolour = blue\n"
                      "fullscreen =off",
                      settings, problem))
        << problem;
    EXPECT_EQ(settings.volume, 7);
    EXPECT_TRUE(settings.mute);
    EXPECT_EQ(settings.fullscreen, std::optional<bool>(false));
}

TEST(SettingsFile, AGarbledLineLeavesEverySettingAsItWas) {
    const char* garbled[] = {
        "volume = 101\n",       "volume = -1\n",    "volume = 1e2\n",
        "volume = 99999999999", "volume =\n",       "mute = maybe\n",
        "mute = on\nrubbish\n", "fullscreen = 1\n", "volume = 50\nvolume 60\n",
        "\x7f\x45\x4c\x46\x02",
    };
    for (const char* text : garbled) {
        Settings settings{false, 42, std::nullopt};
        std::string problem;
        EXPECT_FALSE(parseSettings(text, settings, problem)) << text;
        EXPECT_FALSE(problem.empty());
        EXPECT_EQ(settings, (Settings{false, 42, std::nullopt})) << text;
    }
    Settings settings;
    std::string problem;
    EXPECT_FALSE(parseSettings(std::string("mute = on\n\0\n", 12), settings, problem));
    EXPECT_NE(problem.find("NUL"), std::string::npos) << problem;
    EXPECT_FALSE(parseSettings("volume = 5\nbad line\n", settings, problem));
    EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;
}

// The reader both player files share: which "=" splits a line, and which line a fault names.
TEST(PlayerFileLines, CommentsAndBlanksCountAsLinesAndTheShapeSaysWhereTheKeyEnds) {
    std::vector<std::pair<std::string, std::string>> taken;
    auto take = [&](const std::string& key, const std::string& value) -> std::string {
        taken.emplace_back(key, value);
        return value == "bad" ? "no good" : "";
    };
    std::string problem;
    EXPECT_TRUE(readKeyValueLines("# note\n\n  a = 1 \r\nb=c=d\n", {"key = value"}, take, problem));
    EXPECT_EQ(taken, (std::vector<std::pair<std::string, std::string>>{{"a", "1"}, {"b", "c=d"}}));
    taken.clear();
    EXPECT_TRUE(
        readKeyValueLines("/home/me/a=b/pack = 3\n", {"campaign = level", true}, take, problem));
    EXPECT_EQ(taken,
              (std::vector<std::pair<std::string, std::string>>{{"/home/me/a=b/pack", "3"}}));
    EXPECT_FALSE(
        readKeyValueLines("# note\n\nno equals\n", {"campaign = level", true}, take, problem));
    EXPECT_EQ(problem, "line 3: not \"campaign = level\"");
    EXPECT_FALSE(
        readKeyValueLines("a = 1\n# note\nb = bad\nc = 2\n", {"key = value"}, take, problem));
    EXPECT_EQ(problem, "line 3: no good");
    EXPECT_EQ(taken.back(), (std::pair<std::string, std::string>{"b", "bad"})) << "stops there";
}

TEST(SettingsFile, MissingMeansTheDefaultsWithoutAWord) {
    ScopedHome home;
    std::ostringstream warnings;
    EXPECT_EQ(loadSettings(warnings), Settings());
    EXPECT_EQ(warnings.str(), "");
}

TEST(SettingsFile, SavedSettingsComeBackOnTheNextStart) {
    ScopedHome home;
    std::string error;
    ASSERT_TRUE(saveSettings(Settings{true, 30, true}, error)) << error;
    EXPECT_TRUE(
        std::filesystem::is_regular_file(home.path() + "/XDG_CONFIG_HOME/skarlume/settings.ini"));
    std::ostringstream warnings;
    EXPECT_EQ(loadSettings(warnings), (Settings{true, 30, true}));
    EXPECT_EQ(warnings.str(), "");
    // Saved again over the first, leaving no temporary file beside it.
    ASSERT_TRUE(saveSettings(Settings{false, 60, false}, error)) << error;
    EXPECT_EQ(loadSettings(warnings), (Settings{false, 60, false}));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(configDirectory())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(SettingsFile, AnUnreadableOrGarbledFileMeansTheDefaultsAndOneWarning) {
    ScopedHome home;
    std::string error;
    ASSERT_TRUE(makeDirectories(configDirectory(), error)) << error;
    const std::string path = settingsPath();
    auto loadsDefaultsWithOneWarning = [&](const char* what) {
        std::ostringstream warnings;
        EXPECT_EQ(loadSettings(warnings), Settings()) << what;
        const std::string said = warnings.str();
        EXPECT_NE(said.find(path), std::string::npos) << what << ": " << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << what << ": " << said;
    };
    std::ofstream(path) << "mute = on\nvolume = 500\n";
    loadsDefaultsWithOneWarning("an out-of-range volume");
    std::ofstream(path, std::ios::binary) << std::string(100000, '\xff');
    loadsDefaultsWithOneWarning("a large binary file");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    loadsDefaultsWithOneWarning("a folder");
    std::filesystem::remove(path);
    std::filesystem::create_symlink("nowhere", path);
    loadsDefaultsWithOneWarning("a dangling link");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(path, path);
    loadsDefaultsWithOneWarning("a link to itself");
    std::filesystem::remove(path);
    if (geteuid() != 0) {  // root reads any file
        std::ofstream(path) << "mute = on\n";
        chmod(path.c_str(), 0);
        loadsDefaultsWithOneWarning("a file it may not read");
    }
}

TEST(SettingsFile, ASaveThatCannotBeMadeSaysWhy) {
    ScopedHome home;
    // The config folder's place is taken by a file.
    const std::string parent = home.path() + "/XDG_CONFIG_HOME";
    std::filesystem::create_directories(parent);
    std::ofstream(parent + "/skarlume") << "not a folder";
    std::string error;
    EXPECT_FALSE(saveSettings(Settings{}, error));
    EXPECT_NE(error.find(parent + "/skarlume"), std::string::npos) << error;
}

bool parse(std::initializer_list<const char*> words, Options& options, std::string& error) {
    std::vector<const char*> argv{"skarlume"};
    argv.insert(argv.end(), words.begin(), words.end());
    return parseOptions(int(argv.size()), argv.data(), options, error);
}

TEST(CommandLine, SwitchesAndOneLevelPath) {
    Options options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_FALSE(options.help || options.mute || options.fullscreen || !options.levels.empty());
    ASSERT_TRUE(parse({"--mute", "--fullscreen", "my/levels"}, options, error)) << error;
    EXPECT_TRUE(options.mute);
    EXPECT_EQ(options.fullscreen, std::optional<bool>(true));
    EXPECT_EQ(options.levels, "my/levels");
    // The last of --fullscreen and --window wins; "--" lets a path start with a dash.
    ASSERT_TRUE(parse({"--fullscreen", "--window", "--", "-odd.txt"}, options, error)) << error;
    EXPECT_EQ(options.fullscreen, std::optional<bool>(false));
    EXPECT_EQ(options.levels, "-odd.txt");
    ASSERT_TRUE(parse({"-h"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
    Options options;
    std::string error;
    EXPECT_FALSE(parse({"--mutes"}, options, error));
    EXPECT_NE(error.find("--mutes"), std::string::npos) << error;
    EXPECT_FALSE(parse({"a.txt", "b.txt"}, options, error));
    EXPECT_NE(error.find("b.txt"), std::string::npos) << error;
    EXPECT_FALSE(parse({""}, options, error));
    for (const char* option : {"--mute", "--fullscreen", "--window", "--help", "FILE", "DIR"})
        EXPECT_NE(std::string(usageText()).find(option), std::string::npos) << option;
}

}  // namespace
