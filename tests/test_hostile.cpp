// Hostile input: a corrupt picture stops the real program with one message and status 1, and
// level files of any bytes load and play without a crash, a hang or undefined behaviour.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Level.h"
#include "graphics.h"
#include "levelfixture.h"
#include "skarlume.h"

namespace {

namespace fs = std::filesystem;

// ---- Pictures, through the real program ----

// The game binary that was built beside this test binary (the sanitized one in a sanitized
// build).
fs::path gameBinary() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "skarlume";
}

struct GameRun {
    bool exited = false;
    int status = -1;
    int signal = 0;
    std::string errors;
};

// Runs the game headless in `dir`; it is killed if it runs for `seconds`.
GameRun runGame(const fs::path& dir, int seconds) {
    GameRun run;
    int channel[2];
    if (pipe(channel) != 0)
        return run;
    const std::string binary = gameBinary().string();
    pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(125);
        dup2(channel[1], STDERR_FILENO);
        close(channel[0]);
        close(channel[1]);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(126);
    }
    close(channel[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable = {channel[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, int(left.count())) <= 0) {
            kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        run.errors.append(buffer, size_t(got));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exited = WIFEXITED(status);
    run.status = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

// A Windows BMP header (file header and a 40-byte info header) with the given fields, and
// pixel bytes enough for a small picture.
std::string bmp(int32_t width, int32_t height, uint16_t bitsPerPixel = 24, uint32_t compression = 0,
                uint32_t coloursUsed = 0, uint32_t pixelOffset = 54) {
    std::string pixels(7500, '\x80');
    std::string out = "BM";
    auto put32 = [&out](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out += char((value >> (8 * i)) & 0xff);
    };
    auto put16 = [&out](uint16_t value) {
        out += char(value & 0xff);
        out += char(value >> 8);
    };
    put32(uint32_t(54 + pixels.size()));
    put32(0);
    put32(pixelOffset);
    put32(40);
    put32(uint32_t(width));
    put32(uint32_t(height));
    put16(1);
    put16(bitsPerPixel);
    put32(compression);
    put32(uint32_t(pixels.size()));
    put32(2835);
    put32(2835);
    put32(coloursUsed);
    put32(0);
    return out + pixels;
}

std::string realPicture(const std::string& name) {
    std::ifstream in(std::string("images/") + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string noise(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

struct BrokenPicture {
    const char* name;     // the case, in the test's name
    const char* picture;  // the registry file it replaces
    std::string bytes;
};

// Named by its case in test listings, not dumped as bytes.
void PrintTo(const BrokenPicture& picture, std::ostream* out) {
    *out << picture.name << " as " << picture.picture;
}

std::vector<BrokenPicture> brokenPictures() {
    const std::string crate = realPicture("Crate.bmp");
    return {
        {"Empty", "Crate.bmp", ""},
        {"Text", "space.bmp", "this is not a picture\n"},
        {"HeaderCutShort", "Crate.bmp", crate.substr(0, 30)},
        {"PixelsCutShort", "GameOver.bmp", realPicture("GameOver.bmp").substr(0, 100000)},
        {"Noise", "Laser-N.bmp", noise(5000, 1)},
        {"BmMarkThenNoise", "Crate.bmp", "BM" + noise(5000, 2)},
        {"RunLengthCompressed", "Crate.bmp", bmp(50, 50, 8, 1)},
        {"SevenBitsPerPixel", "Crate.bmp", bmp(50, 50, 7)},
        {"HundredThousandPixelsSquare", "space.bmp", bmp(100000, 100000)},
        {"ZeroWidth", "Crate.bmp", bmp(0, 50)},
        {"NegativeWidth", "Crate.bmp", bmp(-50, 50)},
        {"BillionPaletteColours", "Crate.bmp", bmp(50, 50, 8, 0, 1000000000)},
        {"PixelsBeyondTheEnd", "Crate.bmp", bmp(50, 50, 24, 0, 0, 1000000000)},
    };
}

class HostilePictures : public ::testing::TestWithParam<BrokenPicture> {};

// One line naming the file, SDL's reason after it, then the start-up's own line; status 1.
void expectCleanStartUpFailure(const GameRun& run, const std::string& picture) {
    EXPECT_TRUE(run.exited) << "killed by signal " << run.signal << "\n" << run.errors;
    EXPECT_EQ(run.status, 1) << run.errors;
    const std::string first = "Error loading images/" + picture + ": ";
    ASSERT_EQ(run.errors.compare(0, first.size(), first), 0) << run.errors;
    size_t lineEnd = run.errors.find('\n');
    ASSERT_NE(lineEnd, std::string::npos) << run.errors;
    EXPECT_GT(lineEnd, first.size()) << "no reason given: " << run.errors;
    EXPECT_EQ(run.errors.substr(lineEnd + 1), "Unable to load images.\n") << run.errors;
}

// A scratch game directory with every real picture but one, which gets `bytes`.
fs::path gameDirWithPicture(const ScratchDir& scratch, const std::string& picture,
                            const std::string& bytes) {
    fs::path dir = scratch.path();
    fs::create_directories(dir / "images");
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        fs::path file = imageFiles[id];
        if (file.filename() != picture)
            fs::create_symlink(fs::absolute(file), dir / file);
    }
    scratch.write("images/" + picture, bytes);
    return dir;
}

TEST_P(HostilePictures, BrokenPictureStopsStartUpWithOneMessage) {
    const BrokenPicture& broken = GetParam();
    ScratchDir scratch;
    fs::path dir = gameDirWithPicture(scratch, broken.picture, broken.bytes);
    expectCleanStartUpFailure(runGame(dir, 20), broken.picture);
}

INSTANTIATE_TEST_SUITE_P(Corrupt, HostilePictures, ::testing::ValuesIn(brokenPictures()),
                         [](const ::testing::TestParamInfo<BrokenPicture>& info) {
                             return std::string(info.param.name);
                         });

TEST(HostilePicture, DirectoryInPlaceOfAPictureStopsStartUpWithOneMessage) {
    ScratchDir scratch;
    fs::path dir = gameDirWithPicture(scratch, "Crate.bmp", "");
    fs::remove(dir / "images/Crate.bmp");
    fs::create_directory(dir / "images/Crate.bmp");
    expectCleanStartUpFailure(runGame(dir, 20), "Crate.bmp");
}

// SDL reads a height of INT_MIN as a top-down picture and hands back a negative height, which
// the sprites' arithmetic cannot take (a laser would negate it when it moves).
TEST(HostilePicture, PictureOfNegativeSizeStopsStartUpWithOneMessage) {
    ScratchDir scratch;
    fs::path dir = gameDirWithPicture(scratch, "Laser-N.bmp", bmp(4, INT32_MIN));
    expectCleanStartUpFailure(runGame(dir, 20), "Laser-N.bmp");
}

// ---- Level files, in the game's own process ----

class HostileLevels : public LevelTest {
protected:
    // Loads the text as a level and plays it for `frames` frames with the player moving and
    // firing, checking the books that every level must keep.
    void loadAndPlay(const std::string& text, int frames = 120) {
        // The problems of skipped lines are not the point here.
        Level* level = startLevel(text, 900, ignoreLoadProblem);
        Player* player = level->getPlayer();
        for (const Ship* ship : level->getEnemies())
            ASSERT_NE(ship->getImage(), nullptr) << "a ship that cannot be drawn";
        for (int frame = 1; frame <= frames && !level->won() && !level->lost(); ++frame) {
            SDL_Event event = {};
            event.type = SDL_KEYDOWN;
            event.key.keysym.sym = frame % 3 == 0 ? SDLK_SPACE : frame % 2 ? SDLK_LEFT : SDLK_UP;
            handlePlayEvent(event, player);
            lives = STARTING_LIVES;
            playFrame(level, player);
            ASSERT_EQ(level->getEnemyCount(), int(level->getEnemies().size()));
            ASSERT_GE(level->getShotCount(), 0);
            ASSERT_LE(level->getShotCount(), PLAYER_MAX_SHOTS);
        }
    }
};

std::string repeat(const std::string& text, size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST_F(HostileLevels, NulBytesInsideRecordsDoNotBreakTheLoader) {
    std::string text =
        "Ship(4|80, 680)\nWall(0, 0)|(50, 50)\nCrate(|\nShipArea(300, 600) (724, 760)\n"
        "EnemyDual(100, 1|00)UP\nEnemy|Dual(1, 1)UP\nCrate(480, 300)|\n|||\n";
    for (char& c : text)
        if (c == '|')
            c = '\0';
    loadAndPlay(text);
    EXPECT_EQ(getCurrentLevel()->getEnemyCount(), 2);
}

TEST_F(HostileLevels, BinaryNoiseLoadsAndPlays) {
    for (unsigned seed = 1; seed <= 8; ++seed)
        loadAndPlay(noise(64 * 1024, seed), 20);
}

TEST_F(HostileLevels, NumbersBeyondAnyIntegerAreSkipped) {
    loadAndPlay(
        "Ship(2147483648, -2147483649)\n"
        "Wall(99999999999999999999, 1) (2, -99999999999999999999)\n"
        "ShipArea(-9223372036854775808, 0) (9223372036854775807, 5)\n"
        "EnemyForward(100, 100)DOWN(100, 100) (4294967296, 100)\n"
        "Crate(+480, -0)\n");
    EXPECT_EQ(getCurrentLevel()->getWalls().size(), 0u);
}

TEST_F(HostileLevels, ThingsAtTheCoordinateLimitsLoadAndPlay) {
    loadAndPlay(
        "Ship(-10000, 10000)\n"
        "ShipArea(-10000, -10000) (10000, 10000)\n"
        "Wall(-10000, -10000) (10000, 10000)\n"
        "Wall(10000, -10000) (-10000, 10000)\n"
        "Wall(-10000, 384) (10000, 384)\n"
        "Wall(512, -10000) (512, 10000)\n"
        "Crate(10000, 10000)\n"
        "EnemyForward(-10000, -10000)RIGHT(10000, -10000) (10000, 10000) (-10000, 10000)\n"
        "EnemyDual(10000, 10000)UP(-10000, -10000)\n");
}

TEST_F(HostileLevels, EveryKindOfHalfWrittenRecordLoadsAndPlays) {
    loadAndPlay(
        "Wall(\nWall(1\nWall(1, 2\nWall(1, 2)\nWall(1, 2) (\nWall(1, 2) (3\nWall(1,2)(3,4\n"
        "ShipArea(\nShipArea(1, 2) x (3, 4)\nShip(\nShip(,)\nCrate(-\nCrate((1, 2)\n"
        "EnemyForward(\nEnemyForward(1, 2\nEnemyForward(1, 2)\nEnemyForward(1, 2)UP(\n"
        "EnemyDual(1, 2)DOWN((((\nEnemyDual)(\nEnemyDual(1, 2)LEFT(3, 4)(5\n"
        "Wall(10, 10) (20, 30)\n(\n)\n((((\n))))\n,,,\r\r\r\n\r\n");
}

TEST_F(HostileLevels, ThousandsOfRecordsLoadAndPlay) {
    std::string text = "Ship(480, 680)\nShipArea(300, 600) (724, 760)\n";
    for (int i = 0; i < 2000; ++i) {
        int x = (i * 37) % 1000, y = (i * 53) % 560;
        text += "Wall(" + std::to_string(x) + ", " + std::to_string(y) + ") (" +
                std::to_string(x + 20) + ", " + std::to_string(y + 20) + ")\n";
        text += "Crate(" + std::to_string(x) + ", " + std::to_string(y) + ")\n";
    }
    loadAndPlay(text, 30);
    EXPECT_EQ(getCurrentLevel()->getEnemyCount(), 2000);
}

TEST_F(HostileLevels, EnemyWithAHundredThousandPathPointsWalksThem) {
    loadAndPlay("Ship(480, 680)\nEnemyForward(100, 100)DOWN" +
                repeat("(100, 100) (140, 100)", 50000) + "\n");
    ASSERT_EQ(getCurrentLevel()->getEnemies().size(), 1u);
}

TEST_F(HostileLevels, LongLinesWithoutRecordsAreIgnored) {
    loadAndPlay(std::string(4 * 1024 * 1024, 'x') + "\n" + std::string(1024 * 1024, ')') +
                "\nCrate(480, 300)\n");
    EXPECT_EQ(getCurrentLevel()->getEnemyCount(), 1);
}

// Each "(" of an enemy line is a path point; scanning each from a copy of the rest of the line
// made the work grow with the square of the line's length, and a long line took minutes. Ten
// times the parentheses must cost about ten times the processor time, not a hundred times.
TEST_F(HostileLevels, AnEnemyLinesCostGrowsInProportionToItsParentheses) {
    auto cost = [this](size_t parentheses) {
        double before = threadSeconds();
        loadAndPlay("EnemyForward(1, 1)UP" + std::string(parentheses, '(') + "\nCrate(480, 300)\n",
                    1);
        return threadSeconds() - before;
    };
    const double tenth = cost(100000);
    const double whole = cost(1000000);
    EXPECT_LT(whole, 30 * tenth) << "100,000 parentheses: " << tenth << " s; a million: " << whole
                                 << " s";
    EXPECT_EQ(getCurrentLevel()->getEnemyCount(), 1);
}

}  // namespace
