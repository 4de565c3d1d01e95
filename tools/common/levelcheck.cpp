// The level checker's rules: a level file read with the game's own loader, line by line, and
// every problem reported with its file and line.
#include "levelcheck.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Enemy.h"
#include "Level.h"
#include "graphics.h"
#include "levelline.h"
#include "skarlume.h"

namespace {

// Frames of enemy walking that the overlap test follows; longer than any sensible path loop.
constexpr int OVERLAP_FRAMES = 12000;

struct Rect {
    int x, y, w, h;
};

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool onField(const Rect& r) {
    return r.x >= 0 && r.y >= 0 && r.x + r.w <= SCREEN_WIDTH && r.y + r.h <= SCREEN_HEIGHT;
}

std::string describe(const Rect& r) {
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ") " + std::to_string(r.w) +
           "x" + std::to_string(r.h);
}

std::string lettersOnly(const std::string& text) {
    std::string out;
    for (char c : text)
        if (std::isalpha(static_cast<unsigned char>(c)))
            out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The record that a line which the loader ignored was probably meant to be, or "".
bool isKeyword(const std::string& word) {
    return recordKind(word) != RecordKind::None;
}

// Bytes that most editors show as nothing or as blank: control characters, and every byte
// beyond ASCII (a byte-order mark, a zero-width or non-breaking space).
bool invisible(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x7F || (byte < 0x20 && byte != '\t');
}

std::string hexByte(char c) {
    const char digits[] = "0123456789ABCDEF";
    const unsigned char byte = static_cast<unsigned char>(c);
    return {digits[byte >> 4], digits[byte & 15]};
}

std::string slipOf(const std::string& keyword) {
    const std::string letters = lettersOnly(keyword);
    for (RecordKind kind : RECORD_KINDS) {
        const char* word = recordKeyword(kind);
        if (keyword == word)
            continue;
        if (letters == lettersOnly(word))
            return word;
    }
    return "";
}

Rect pictureAt(SDL_Surface* picture, int x, int y) {
    return {x, y, picture->w, picture->h};
}

class Checker {
public:
    explicit Checker(const std::string& name) : name(name) {}

    // Checks the file; keeps every problem and returns how many there were.
    int runFile() {
        std::error_code error;
        if (std::filesystem::is_directory(name, error)) {
            problem(0, "is a directory, not a level file");
            return problems();
        }
        std::ifstream file(name);
        if (!file) {
            problem(0, std::string("cannot open the file: ") + std::strerror(errno));
            return problems();
        }
        std::vector<std::string> lines;
        std::string line;
        while (readLevelLine(file, line))
            lines.push_back(line);
        checkLines(lines);
        if (file.bad())
            problem(0, "the file could not be read to its end");
        checkWhole();
        return problems();
    }

    int runLines(const std::vector<std::string>& lines) {
        checkLines(lines);
        checkWhole();
        return problems();
    }

    int problems() const { return int(found.size()); }
    const std::vector<LevelFinding>& findings() const { return found; }

private:
    struct Target {
        int line;
        const Ship* ship;
    };
    struct Area {
        int line;
        bound area;
    };

    void checkLines(const std::vector<std::string>& lines) {
        int lineNumber = 0;
        for (const std::string& line : lines)
            checkLine(line, ++lineNumber);
    }

    std::string name;
    // A level with nothing in it, fed the lines one by one to see what each adds.
    Level level{std::vector<std::string>(), name.c_str(), bg, 1};
    std::vector<LevelFinding> found;
    int shipLine = 0;
    std::vector<Target> targets;
    std::vector<Area> areas;

    void problem(int line, const std::string& text) { found.push_back({line, text}); }

    void checkLine(const std::string& line, int lineNumber) {
        const LoadedRecord record =
            loadRecord(level, line, name.c_str(), lineNumber,
                       [this](const LoadProblem& refused) { problem(refused.line, refused.text); });
        if (line.find('(') == std::string::npos)
            return;
        if (record.kind == RecordKind::None) {
            if (!record.skipped)
                checkIgnoredKeyword(keywordOf(line), lineNumber);
            return;
        }
        if (record.wall != nullptr)
            checkWall(*record.wall, lineNumber);
        if (record.area != nullptr) {
            areas.push_back({lineNumber, *record.area});
            checkArea(areas.back().area, lineNumber);
        }
        if (record.target != nullptr)
            checkTarget(record.target, lineNumber);
        if (record.kind == RecordKind::Ship)
            shipLine = lineNumber;
    }

    // A line the game ignores whose keyword looks like one it knows: a slip of the keyboard,
    // or bytes that an editor shows as nothing (a byte-order mark above all).
    void checkIgnoredKeyword(const std::string& keyword, int lineNumber) {
        std::string visible, hidden;
        size_t leading = 0;
        for (char c : keyword) {
            if (!invisible(c)) {
                visible += c;
                continue;
            }
            if (visible.empty())
                ++leading;
            hidden += (hidden.empty() ? "" : " ") + hexByte(c);
        }
        const std::string meant = isKeyword(visible) ? visible : slipOf(visible);
        if (meant.empty())
            return;
        if (hidden.empty()) {
            problem(lineNumber, "\"" + keyword + "\" is not a keyword; did you mean \"" + meant +
                                    "\"? The game ignores this line");
        } else if (keyword.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            problem(lineNumber,
                    "the line starts with a byte-order mark (the bytes EF BB BF), which most "
                    "editors do not show, before \"" +
                        visible +
                        "\", so the game ignores this line; save the file as plain ASCII "
                        "without a byte-order mark");
        } else {
            problem(lineNumber, "the keyword \"" + visible + "\" has invisible bytes (" + hidden +
                                    ") " + (leading > 0 ? "before it" : "inside it") +
                                    ", so the game ignores this line; delete them");
        }
    }

    void checkWall(const Wall& wall, int line) {
        const point start = wall.getStart(), end = wall.getEnd();
        const int dx = end.x - start.x, dy = end.y - start.y;
        const int direction = wall.getDirection();
        if (direction == 45 || direction == 135) {
            if (std::abs(dx) != std::abs(dy))
                problem(line, "a diagonal wall must be 45 degrees: its ends differ by " +
                                  std::to_string(std::abs(dx)) + " in x but " +
                                  std::to_string(std::abs(dy)) + " in y");
            else if (std::abs(dx) <= 6)
                problem(line,
                        "a diagonal wall needs ends more than 6 pixels apart, or it stops "
                        "nothing");
        }
        const Wall::Box drawn = wall.getDrawnBox();
        if (drawn.left < 0 || drawn.top < 0 || drawn.right > SCREEN_WIDTH ||
            drawn.bottom > SCREEN_HEIGHT)
            problem(line, "the wall reaches off the 1024x768 field (it covers x " +
                              std::to_string(drawn.left) + ".." + std::to_string(drawn.right) +
                              ", y " + std::to_string(drawn.top) + ".." +
                              std::to_string(drawn.bottom) + ")");
    }

    void checkArea(const bound& area, int line) {
        if (area.left < 0 || area.top < 0 || area.right > SCREEN_WIDTH ||
            area.bottom > SCREEN_HEIGHT)
            problem(line, "the ship area reaches off the 1024x768 field");
        if (!fitsAnywhere(area, GetImage(IMG_SHIP1)))
            problem(line, "the ship area is too small to hold a ship");
    }

    void checkTarget(const Ship* ship, int line) {
        targets.push_back({line, ship});
        SDL_Surface* picture = ship->getImage();
        const Rect start = pictureAt(picture, ship->getXPosition(), ship->getYPosition());
        if (!onField(start))
            problem(line, "it stands partly off the field at " + describe(start));
        if (const Enemy* enemy = dynamic_cast<const Enemy*>(ship)) {
            for (const point& waypoint : enemy->getPath()) {
                const Rect there = pictureAt(picture, waypoint.x, waypoint.y);
                if (!onField(there)) {
                    problem(line, "its path leaves the field at " + describe(there));
                    break;
                }
            }
        }
    }

    void checkWhole() {
        Player* player = level.getPlayer();
        if (shipLine == 0) {
            problem(0, "no Ship line: the player would start at (0, 0)");
        } else {
            const int x = player->getXPosition(), y = player->getYPosition();
            bool inside = false;
            for (const bound& area : player->getBounds())
                for (int ship = 1; ship <= 3 && !inside; ++ship)
                    inside = fitsInside(area, x, y, Player::findImage(ship));
            if (!inside)
                problem(shipLine, "the ship's picture at (" + std::to_string(x) + ", " +
                                      std::to_string(y) +
                                      ") does not fit strictly inside any ship area");
            else
                checkReach(*player);
        }
        if (targets.empty())
            problem(0, "no crate or enemy: the level would be won at once");
        checkOverlaps();
    }

    // Every ship area must be reachable from the start by the player's own move rule: a step
    // of a speed's length or none per axis is taken only when the whole picture then fits
    // strictly inside one area. The walk floods every place the ship can stand (one grid of
    // whole steps holds them all); an area is reached when one of those places lies inside it.
    // Every ship's picture is tried, since the player may pick any of them.
    void checkReach(const Player& player) {
        const int startX = player.getXPosition(), startY = player.getYPosition();
        std::vector<bool> reached(areas.size(), false);
        for (int ship = 1; ship <= 3; ++ship) {
            const SDL_Surface* picture = Player::findImage(ship);
            auto fits = [picture](const bound& a, int x, int y) {
                return fitsInside(a, x, y, picture);
            };
            auto allowed = [&](int x, int y) {
                for (const Area& a : areas)
                    if (fits(a.area, x, y))
                        return true;
                return false;
            };
            if (!allowed(startX, startY))
                continue;
            // Places kept on the field (areas off it are reported already); cells a step apart.
            constexpr int STEP = PLAYER_SPEED;
            const int baseX = stepUpTo(0, startX) - STEP, baseY = stepUpTo(0, startY) - STEP;
            const int columns = SCREEN_WIDTH / STEP + 3, rows = SCREEN_HEIGHT / STEP + 3;
            std::vector<bool> seen(size_t(columns) * rows, false);
            auto cell = [&](int x, int y) {
                const int cx = (x - baseX) / STEP, cy = (y - baseY) / STEP;
                return cx < 0 || cy < 0 || cx >= columns || cy >= rows ? -1 : cy * columns + cx;
            };
            std::vector<int> open{cell(startX, startY)};
            if (open[0] < 0)
                continue;
            seen[open[0]] = true;
            std::vector<bool> here(areas.size(), false);
            for (size_t next = 0; next < open.size(); ++next) {
                const int x = baseX + STEP * (open[next] % columns);
                const int y = baseY + STEP * (open[next] / columns);
                for (size_t i = 0; i < areas.size(); ++i)
                    here[i] = here[i] || fits(areas[i].area, x, y);
                for (int dx = -STEP; dx <= STEP; dx += STEP)
                    for (int dy = -STEP; dy <= STEP; dy += STEP) {
                        const int c = cell(x + dx, y + dy);
                        if (c < 0 || seen[c] || !allowed(x + dx, y + dy))
                            continue;
                        seen[c] = true;
                        open.push_back(c);
                    }
            }
            for (size_t i = 0; i < areas.size(); ++i)
                reached[i] = reached[i] || here[i];
        }
        for (size_t i = 0; i < areas.size(); ++i) {
            // An area too small for a ship is reported already.
            if (!reached[i] && fitsAnywhere(areas[i].area, GetImage(IMG_SHIP1)))
                problem(areas[i].line,
                        "the ship cannot reach this ship area from its start: no step of the "
                        "ship leads into it");
        }
    }

    // Crates and enemies must not overlap, at the start or anywhere along their walks.
    void checkOverlaps() {
        std::vector<std::vector<bool>> reported(targets.size(),
                                                std::vector<bool>(targets.size(), false));
        for (int frame = 0; frame <= OVERLAP_FRAMES; ++frame) {
            if (frame > 0) {
                // Walking needs no level: a shot fired here goes nowhere.
                bool anyMoving = false;
                for (const Target& target : targets)
                    if (const Enemy* enemy = dynamic_cast<const Enemy*>(target.ship)) {
                        const_cast<Enemy*>(enemy)->move();
                        anyMoving = anyMoving || enemy->getPath().size() > 1 ||
                                    enemy->getPath().front().x != enemy->getXPosition() ||
                                    enemy->getPath().front().y != enemy->getYPosition();
                    }
                if (!anyMoving && frame > 2)
                    break;
            }
            for (size_t i = 0; i < targets.size(); ++i)
                for (size_t j = i + 1; j < targets.size(); ++j) {
                    if (reported[i][j])
                        continue;
                    const Ship* a = targets[i].ship;
                    const Ship* b = targets[j].ship;
                    const Rect ra = pictureAt(a->getImage(), a->getXPosition(), a->getYPosition());
                    const Rect rb = pictureAt(b->getImage(), b->getXPosition(), b->getYPosition());
                    if (!overlap(ra, rb))
                        continue;
                    reported[i][j] = true;
                    problem(targets[j].line,
                            "it overlaps the one of line " + std::to_string(targets[i].line) +
                                (frame == 0 ? std::string(" at the start")
                                            : " on frame " + std::to_string(frame)));
                }
        }
    }
};

}  // namespace

void printFinding(std::ostream& report, const std::string& name, const LevelFinding& finding) {
    report << name;
    if (finding.line > 0)
        report << ":" << finding.line;
    report << ": " << finding.text << "\n";
}

int checkLevelFile(const std::string& path, std::ostream& report) {
    Checker checker(path);
    checker.runFile();
    for (const LevelFinding& finding : checker.findings())
        printFinding(report, path, finding);
    return checker.problems();
}

std::vector<LevelFinding> checkLevelLines(const std::vector<std::string>& lines,
                                          const std::string& name) {
    Checker checker(name);
    checker.runLines(lines);
    return checker.findings();
}
