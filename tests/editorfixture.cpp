// The level editor driven headless with real mouse and key events on SDL's queue.
#include "editorfixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Enemy.h"
#include "graphics.h"
#include "userfiles.h"

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void pushKey(SDLKey key, int mod, Uint16 unicode) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = SDLMod(mod);
    event.key.keysym.unicode = unicode;
    push(event);
}

void typeText(const std::string& text) {
    for (char c : text)
        pushKey(SDLK_UNKNOWN, KMOD_NONE, Uint16(static_cast<unsigned char>(c)));
}

void pushButton(Uint8 type, int x, int y, Uint8 button) {
    SDL_Event event = {};
    event.type = type;
    event.button.button = button;
    event.button.x = Uint16(x);
    event.button.y = Uint16(y);
    push(event);
}

void pushMotion(int x, int y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = Uint16(x);
    event.motion.y = Uint16(y);
    push(event);
}

void click(int x, int y, Uint8 button) {
    pushMotion(x, y);
    pushButton(SDL_MOUSEBUTTONDOWN, x, y, button);
    pushButton(SDL_MOUSEBUTTONUP, x, y, button);
}

void dragMouse(point from, point to) {
    pushMotion(from.x, from.y);
    pushButton(SDL_MOUSEBUTTONDOWN, from.x, from.y);
    pushMotion((from.x + to.x) / 2, (from.y + to.y) / 2);
    pushMotion(to.x, to.y);
    pushButton(SDL_MOUSEBUTTONUP, to.x, to.y);
}

std::string readFile(const std::string& path) {
    std::string text, error;
    EXPECT_TRUE(readWholeFile(path, text, error)) << error;
    return text;
}

std::vector<Uint16> screenPixels() {
    const auto* first = static_cast<const Uint16*>(game_screen->pixels);
    return std::vector<Uint16>(first, first + game_screen->pitch / 2 * game_screen->h);
}

std::string describeLevel(Level& level) {
    std::ostringstream out;
    Player* player = level.getPlayer();
    out << "ship " << player->getXPosition() << "," << player->getYPosition() << "\n";
    for (const bound& area : player->getBounds())
        out << "area " << area.left << "," << area.top << " " << area.right << "," << area.bottom
            << "\n";
    for (const Wall& wall : level.getWalls())
        out << "wall " << wall.getDirection() << " " << wall.getStart().x << ","
            << wall.getStart().y << " " << wall.getEnd().x << "," << wall.getEnd().y << "\n";
    for (const Ship* target : level.getEnemies()) {
        const auto* enemy = dynamic_cast<const Enemy*>(target);
        out << (dynamic_cast<const FShooter*>(target)   ? "forward"
                : dynamic_cast<const DShooter*>(target) ? "dual"
                                                        : "crate")
            << " " << target->getXPosition() << "," << target->getYPosition();
        if (enemy != nullptr) {
            out << " " << enemy->getDirection() << " walk";
            for (const point& p : enemy->getPath())
                out << " " << p.x << "," << p.y;
        }
        out << "\n";
    }
    return out.str();
}

std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code code;
    for (std::filesystem::directory_iterator entry(directory, code), end; !code && entry != end;
         entry.increment(code))
        names.push_back(entry->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<Lettering> EditorTest::lettering;

void EditorTest::SetUp() {
    ensureGame();
    if (!lettering) {
        lettering = std::make_unique<Lettering>();
        std::string error;
        ASSERT_TRUE(lettering->load(GLYPH_SHEET_FILE, error)) << error;
    }
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
    SDL_SetModState(KMOD_NONE);
    home = std::filesystem::current_path();
    std::filesystem::create_directories(scratch.path() + "/levels");
    std::filesystem::current_path(scratch.path());
    lives = 4;
    p = 1;
}

void EditorTest::TearDown() {
    editor.reset();
    setCurrentLevel(nullptr);
    SDL_SetModState(KMOD_NONE);
    std::filesystem::current_path(home);
}

Editor& EditorTest::open(const std::string& file) {
    editor = std::make_unique<Editor>(std::filesystem::absolute(file).string(), file, *lettering,
                                      scratch.path());
    std::string error;
    EXPECT_TRUE(editor->open(error)) << error;
    editor->draw();
    return *editor;
}

std::string EditorTest::loadedBack(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; readLevelLine(in, line);)
        lines.push_back(line);
    Level level(lines, file.c_str(), bg, 1);
    return describeLevel(level);
}

std::vector<std::string> EditorTest::recoveryCopies() const {
    return filesIn(stateDirectory() + "/recovery");
}
