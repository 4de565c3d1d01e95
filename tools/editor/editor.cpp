// The level editor: the document being edited, the tools, what the mouse and keys do, saving,
// and the window loop that sleeps until something happens.
#include "editor.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "Level.h"
#include "direction.h"
#include "graphics.h"
#include "input.h"
#include "shapes.h"
#include "testplay.h"
#include "userfiles.h"

const std::vector<std::string> EDITOR_HELP = {
    "Keys and mouse buttons (F1 or Escape closes this)",
    "",
    "S  select and move: left button picks, drags an object or a handle",
    "1  ship start        2  ship area (drag)     3  wall (drag end to end)",
    "4  crate             5  forward shooter      6  dual shooter",
    "7  enemy walk: click a shooter, then its waypoints; Return or right button ends",
    "F  turn the facing (selected shooter, or the tool's); Shift+F the other way",
    "Right button  turn the shooter under the cursor a quarter turn",
    "Arrows  move the selection a grid step     Delete/Backspace  delete it",
    "G  grid on/off       H  hide/show all marks  N  edit the level's name",
    "Ctrl+Z  undo         Ctrl+Y or Ctrl+Shift+Z  redo",
    "Ctrl+S  save         Ctrl+U  load FILE.unsaved    Ctrl+Q  quit",
    "T  test-play (Escape or the level's end comes back)",
    "R  keep a won test-play as the level's replay (solutions/levelN.txt)",
    "Escape  cancel what is under way, or back to the select tool",
};

namespace {

constexpr int GRID_STEP = 8;
constexpr int DRAG_THRESHOLD = 3;
constexpr int FINDINGS_LISTED = 6;

const char* toolName(Tool tool) {
    switch (tool) {
        case Tool::Select:
            return "select";
        case Tool::ShipStart:
            return "ship start";
        case Tool::ShipArea:
            return "ship area";
        case Tool::Wall:
            return "wall";
        case Tool::Crate:
            return "crate";
        case Tool::ForwardShooter:
            return "forward shooter";
        case Tool::DualShooter:
            return "dual shooter";
        case Tool::Walk:
            return "enemy walk";
    }
    return "";
}

bool usesFacing(Tool tool) {
    return tool == Tool::ForwardShooter || tool == Tool::DualShooter;
}

}  // namespace

bool Editor::Drag::started() const {
    return kind != None && (std::abs(now.x - pressed.x) >= DRAG_THRESHOLD ||
                            std::abs(now.y - pressed.y) >= DRAG_THRESHOLD);
}

Editor::Editor(const std::string& path, const std::string& shownName, const Lettering& lettering)
    : path(path), shownName(shownName), lettering(lettering) {}

Editor::~Editor() = default;

bool Editor::open(std::string& error) {
    std::error_code code;
    if (std::filesystem::exists(path, code)) {
        std::string text;
        if (!readWholeFile(path, text, error))
            return false;
        doc = LevelDocument::fromText(text);
        onDisk = true;
    } else {
        doc = LevelDocument::newLevel();
    }
    savedText = doc.text();
    // A byte-order mark hides the first line's record from the game; the editor takes it off
    // as an edit of its own, which the designer sees, can undo, and saves like any other.
    const std::string mark = "\xEF\xBB\xBF";
    const bool byteOrderMark = savedText.compare(0, mark.size(), mark) == 0;
    if (byteOrderMark)
        commit(LevelDocument::fromText(savedText.substr(mark.size())), "");
    SDL_EnableUNICODE(1);
    SDL_WM_SetCaption(("Skarlume editor: " + shownName).c_str(), "Skarlume editor");
    refreshFindings();
    say(onDisk ? "Opened " + shownName : shownName + " is a new file: Ctrl+S writes it");
    if (byteOrderMark)
        say("The file began with a byte-order mark, which hid its first line from the game: it "
            "is taken off (Ctrl+Z puts it back), Ctrl+S saves without it",
            Ink::Highlight);
    if (std::filesystem::exists(unsavedPath(), code)) {
        say(shownName + ".unsaved holds edits that were never saved: Ctrl+U loads them",
            Ink::Highlight);
    }
    return true;
}

// ---- Events ----

bool Editor::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return false;
        case SDL_KEYDOWN:
            return handleKey(event.key.keysym);
        case SDL_MOUSEMOTION:
            cursor = {event.motion.x, event.motion.y};
            drag.now = cursor;
            return true;
        case SDL_MOUSEBUTTONDOWN:
            cursor = {event.button.x, event.button.y};
            replaceConfirmPending = false;
            if (helpShown || naming)
                return true;
            if (event.button.button == SDL_BUTTON_LEFT)
                pressLeft(cursor);
            else if (event.button.button == SDL_BUTTON_RIGHT)
                pressRight(cursor);
            return true;
        case SDL_MOUSEBUTTONUP:
            cursor = {event.button.x, event.button.y};
            drag.now = cursor;
            if (event.button.button == SDL_BUTTON_LEFT)
                releaseLeft();
            return true;
        default:
            return true;
    }
}

bool Editor::handleKey(const SDL_keysym& key) {
    if (naming) {
        handleNameKey(key);
        return true;
    }
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    // R twice replaces an existing replay; anything else in between calls it off.
    const bool confirming = replaceConfirmPending;
    replaceConfirmPending = false;
    if ((key.mod & KMOD_CTRL) != 0)
        return handleControlKey(key.sym, shift);
    if (helpShown) {
        if (key.sym == SDLK_F1 || key.sym == SDLK_ESCAPE)
            helpShown = false;
        return true;
    }
    auto pick = [this](Tool next) {
        cancelGesture();
        tool = next;
    };
    switch (key.sym) {
        case SDLK_F1:
            helpShown = true;
            break;
        case SDLK_ESCAPE:
            if (walker || drag.kind != Drag::None) {
                cancelGesture();
            } else {
                selected.reset();
                tool = Tool::Select;
            }
            break;
        case SDLK_s:
            pick(Tool::Select);
            break;
        case SDLK_1:
            pick(Tool::ShipStart);
            break;
        case SDLK_2:
            pick(Tool::ShipArea);
            break;
        case SDLK_3:
            pick(Tool::Wall);
            break;
        case SDLK_4:
            pick(Tool::Crate);
            break;
        case SDLK_5:
            pick(Tool::ForwardShooter);
            break;
        case SDLK_6:
            pick(Tool::DualShooter);
            break;
        case SDLK_7:
            pick(Tool::Walk);
            say("Enemy walk: click a shooter, then its waypoints");
            break;
        case SDLK_g:
            gridOn = !gridOn;
            break;
        case SDLK_h:
            marksShown = !marksShown;
            break;
        case SDLK_f: {
            const int turn = shift ? 270 : 90;
            const LevelObject* object = selected ? doc.object(*selected) : nullptr;
            if (object != nullptr && isShooter(object->kind) && !usesFacing(tool))
                turnShooter(*selected, turn);
            else
                facing = rotate(facing, turn);
            break;
        }
        case SDLK_DELETE:
        case SDLK_BACKSPACE:
            deleteSelection();
            break;
        case SDLK_UP:
            nudge(0, -gridStep());
            break;
        case SDLK_DOWN:
            nudge(0, gridStep());
            break;
        case SDLK_LEFT:
            nudge(-gridStep(), 0);
            break;
        case SDLK_RIGHT:
            nudge(gridStep(), 0);
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (walker)
                finishWalk();
            break;
        case SDLK_n:
            cancelGesture();
            naming = true;
            nameDraft = doc.name();
            break;
        case SDLK_t:
            return runTestPlay();
        case SDLK_r:
            replaceConfirmPending = confirming;
            saveReplay();
            break;
        default:
            break;
    }
    return true;
}

bool Editor::handleControlKey(SDLKey key, bool shift) {
    switch (key) {
        case SDLK_s:
            save();
            break;
        case SDLK_z:
            shift ? redo() : undo();
            break;
        case SDLK_y:
            redo();
            break;
        case SDLK_u:
            recoverUnsaved();
            break;
        case SDLK_q:
            return false;
        default:
            break;
    }
    return true;
}

void Editor::handleNameKey(const SDL_keysym& key) {
    if (key.sym == SDLK_ESCAPE) {
        naming = false;
        say("The name is as it was");
    } else if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) {
        naming = false;
        if (nameDraft == doc.name())
            return;
        LevelDocument named = doc;
        if (named.setName(nameDraft) && selected)
            ++*selected;  // a name line came in before every other line
        commit(named, "Named the level \"" + nameDraft + "\"");
    } else if (key.sym == SDLK_BACKSPACE) {
        if (!nameDraft.empty())
            nameDraft.pop_back();
    } else if (key.unicode >= ' ' && key.unicode <= '~') {
        const std::string longer = nameDraft + char(key.unicode);
        if (LevelDocument::validName(longer))
            nameDraft = longer;
    }
}

void Editor::pressLeft(point at) {
    const point snapped = snapPoint(at, gridStep());
    switch (tool) {
        case Tool::Select: {
            if (selected) {
                const LevelObject* object = doc.object(*selected);
                size_t handle = 0;
                if (object != nullptr && handleNear(handlesOf(*object), at.x, at.y, handle)) {
                    drag = {Drag::Handle, at, at, *selected, handle, at};
                    return;
                }
            }
            selected = objectAt(at);
            if (selected)
                drag = {Drag::Move, at, at, *selected, 0, at};
            return;
        }
        case Tool::ShipStart:
            place(RecordKind::Ship, at);
            return;
        case Tool::Crate:
            place(RecordKind::Crate, at);
            return;
        case Tool::ForwardShooter:
            place(RecordKind::EnemyForward, at);
            return;
        case Tool::DualShooter:
            place(RecordKind::EnemyDual, at);
            return;
        case Tool::Wall:
            drag = {Drag::NewWall, snapped, at, 0, 0, at};
            return;
        case Tool::ShipArea:
            drag = {Drag::NewArea, snapped, at, 0, 0, at};
            return;
        case Tool::Walk: {
            if (walker) {
                const LevelObject* enemy = doc.object(*walker);
                const point centre = waypointCentre(*enemy, {0, 0});
                walkPoints.push_back(snapPoint({at.x - centre.x, at.y - centre.y}, gridStep()));
                return;
            }
            std::optional<size_t> picked = objectAt(at);
            if (!picked || !isShooter(doc.object(*picked)->kind)) {
                say("Click a shooter first: its walk starts there", Ink::Highlight);
                return;
            }
            walker = picked;
            selected = picked;
            walkPoints.clear();
            say("Click the waypoints; Return or the right button ends the walk, Escape drops it");
            return;
        }
    }
}

void Editor::releaseLeft() {
    if (drag.kind == Drag::None)
        return;
    const Drag ended = drag;
    const LevelDocument edited = shownDocument();
    drag = {};
    switch (ended.kind) {
        case Drag::NewWall:
        case Drag::NewArea: {
            if (edited.size() == doc.size())
                return;  // a click without a drag makes nothing
            commit(edited, ended.kind == Drag::NewWall ? "Added a wall" : "Added a ship area");
            selected = doc.size() - 1;
            return;
        }
        case Drag::Move:
            commit(edited, "Moved it");
            return;
        case Drag::Handle:
            commit(edited, "Reshaped it");
            return;
        case Drag::None:
            return;
    }
}

void Editor::pressRight(point at) {
    if (walker) {
        finishWalk();
        return;
    }
    std::optional<size_t> picked = objectAt(at);
    if (picked && isShooter(doc.object(*picked)->kind))
        turnShooter(*picked, 90);
}

// ---- Edits ----

void Editor::commit(const LevelDocument& edited, const std::string& what) {
    if (edited == doc)
        return;
    history.edited(doc);
    doc = edited;
    refreshFindings();
    say(what);
}

void Editor::refreshFindings() {
    found = checkLevelLines(doc.lines(), shownName);
}

int Editor::gridStep() const {
    return gridOn ? GRID_STEP : 1;
}

std::optional<size_t> Editor::objectAt(point at) const {
    // Anything drawn on the field comes before the areas it stands in; later lines first.
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = doc.size(); i-- > 0;) {
            const LevelObject* object = doc.object(i);
            if (object == nullptr || (object->kind == RecordKind::ShipArea) != (pass == 1))
                continue;
            if (hits(*object, at.x, at.y))
                return i;
        }
    return std::nullopt;
}

point Editor::placedAt(RecordKind kind, point mouse) const {
    LevelObject probe;
    probe.kind = kind;
    probe.direction = facing;
    const point centre = waypointCentre(probe, {0, 0});
    return snapPoint({mouse.x - centre.x, mouse.y - centre.y}, gridStep());
}

void Editor::place(RecordKind kind, point mouse) {
    LevelObject object;
    object.kind = kind;
    object.direction = facing;
    object.at = placedAt(kind, mouse);
    LevelDocument edited = doc;
    // The game starts the ship at the last Ship line: the start is moved, not added again.
    const std::optional<size_t> ship = kind == RecordKind::Ship ? doc.shipLine() : std::nullopt;
    if (ship) {
        edited.replace(*ship, object);
        selected = ship;
    } else {
        selected = edited.add(object);
    }
    commit(edited, std::string("Placed the ") + toolName(tool));
}

void Editor::turnShooter(size_t line, int turn) {
    LevelObject turned = *doc.object(line);
    turned.direction = rotate(turned.direction, turn);
    LevelDocument edited = doc;
    edited.replace(line, turned);
    commit(edited, std::string("Now facing ") + directionWord(turned.direction));
}

void Editor::deleteSelection() {
    if (!selected || doc.object(*selected) == nullptr)
        return;
    cancelGesture();
    LevelDocument edited = doc;
    edited.remove(*selected);
    selected.reset();
    commit(edited, "Deleted it");
}

void Editor::nudge(int dx, int dy) {
    if (!selected || doc.object(*selected) == nullptr)
        return;
    LevelDocument edited = doc;
    edited.replace(*selected, movedBy(*doc.object(*selected), dx, dy));
    commit(edited, "Moved it");
}

void Editor::finishWalk() {
    const LevelDocument edited = shownDocument();
    const size_t points = walkPoints.size();
    walker.reset();
    walkPoints.clear();
    if (points == 0) {
        LevelDocument still = doc;
        if (selected && doc.object(*selected) != nullptr) {
            LevelObject enemy = *doc.object(*selected);
            enemy.walk.clear();
            still.replace(*selected, enemy);
        }
        commit(still, "The shooter stands still");
        return;
    }
    commit(edited, "The walk has " + std::to_string(points) + " point(s)");
}

void Editor::cancelGesture() {
    drag = {};
    walker.reset();
    walkPoints.clear();
}

void Editor::undo() {
    cancelGesture();
    if (!history.undo(doc)) {
        say("Nothing to undo");
        return;
    }
    if (selected && doc.object(*selected) == nullptr)
        selected.reset();
    refreshFindings();
    say("Undone");
}

void Editor::redo() {
    cancelGesture();
    if (!history.redo(doc)) {
        say("Nothing to redo");
        return;
    }
    if (selected && doc.object(*selected) == nullptr)
        selected.reset();
    refreshFindings();
    say("Redone");
}

// What the window shows: the document with the gesture under way applied, drawn as the game
// would draw it.
LevelDocument Editor::shownDocument() const {
    LevelDocument shown = doc;
    const int step = gridStep();
    switch (drag.started() ? drag.kind : Drag::None) {
        case Drag::Move: {
            const LevelObject& object = *doc.object(drag.line);
            const point anchor = snapPoint(
                {object.at.x + drag.now.x - drag.from.x, object.at.y + drag.now.y - drag.from.y},
                step);
            shown.replace(drag.line,
                          movedBy(object, anchor.x - object.at.x, anchor.y - object.at.y));
            break;
        }
        case Drag::Handle:
            shown.replace(drag.line,
                          withHandleAt(*doc.object(drag.line), drag.handle, drag.now, step));
            break;
        case Drag::NewWall: {
            const point end = wallEnd(drag.from, drag.now, step);
            if (end.x != drag.from.x || end.y != drag.from.y) {
                LevelObject wall;
                wall.kind = RecordKind::Wall;
                wall.at = drag.from;
                wall.to = end;
                // Kept upper end first, as the game orders a wall's ends.
                shown.add(withHandleAt(wall, 1, end, 1));
            }
            break;
        }
        case Drag::NewArea: {
            const LevelObject area = areaBetween(drag.from, snapPoint(drag.now, step));
            if (area.to.x > area.at.x && area.to.y > area.at.y)
                shown.add(area);
            break;
        }
        case Drag::None:
            break;
    }
    if (walker && !walkPoints.empty()) {
        LevelObject enemy = *doc.object(*walker);
        enemy.walk = walkPoints;
        shown.replace(*walker, enemy);
    }
    return shown;
}

// ---- Files ----

void Editor::say(const std::string& text, Ink ink) {
    note = text;
    noteInk = ink;
}

bool Editor::save() {
    std::string error;
    const std::string text = doc.text();
    if (!writeFileAtomically(path, text, error)) {
        say("Not saved: " + error + "; the file on disk is as it was", Ink::Problem);
        return false;
    }
    savedText = text;
    onDisk = true;
    // Recovered edits are in the file now; the copy beside it would only offer them again.
    if (recovered) {
        std::error_code ignored;
        std::filesystem::remove(unsavedPath(), ignored);
        recovered = false;
    }
    say("Saved " + shownName +
        (found.empty() ? "" : " (" + std::to_string(found.size()) + " problem(s) remain)"));
    return true;
}

std::string Editor::close() {
    if (!modified())
        return "";
    std::string error;
    if (!writeFileAtomically(unsavedPath(), doc.text(), error))
        return "editor: your unsaved edits could not be kept: " + error;
    return "editor: unsaved edits written to " + unsavedPath();
}

void Editor::recoverUnsaved() {
    std::string text, error;
    if (!readWholeFile(unsavedPath(), text, error)) {
        say("Nothing to load: " + error, Ink::Problem);
        return;
    }
    cancelGesture();
    selected.reset();
    commit(LevelDocument::fromText(text), "");
    recovered = true;
    say("Loaded " + shownName + ".unsaved: Ctrl+S saves it as " + shownName + ", Ctrl+Z goes back",
        Ink::Highlight);
}

// ---- Test-play and replays ----

bool Editor::runTestPlay() {
    cancelGesture();
    const std::optional<ReplayHome> home = replayHomeOf(path);
    const TestPlayResult result =
        testPlay(doc.lines(), shownName, home ? home->level : 0, p, testPlayWatcher);
    // The window saw the play screen: whatever the editor drew before must be drawn again.
    drawnText.clear();
    if (result.state == STATE_QUIT)
        return false;
    const std::string frame = std::to_string(result.frame);
    if (result.state == STATE_LEVEL_WON) {
        lastWin = WonPlay{result.replay, doc.text(), result.frame};
        say("Test-play won at frame " + frame +
                (home ? ": R keeps it as " + home->file : std::string()),
            Ink::Highlight);
    } else if (result.state == STATE_LEVEL_LOST || result.state == STATE_GAME_OVER) {
        say("Test-play lost at frame " + frame + " (no life spent)", Ink::Problem);
    } else {
        say("Test-play left at frame " + frame);
    }
    return true;
}

void Editor::saveReplay() {
    const std::optional<ReplayHome> home = replayHomeOf(path);
    if (!lastWin) {
        say("Win a test-play first (T): R keeps its keys as the level's replay", Ink::Highlight);
        return;
    }
    if (!home) {
        say("Only levels/levelN.txt (N 1 to " + std::to_string(LEVEL_COUNT) +
                ") keep a replay, in solutions/levelN.txt; this file is not one",
            Ink::Problem);
        return;
    }
    if (lastWin->text != doc.text() || modified()) {
        say("Save the level first (Ctrl+S), as it was test-played: the replay plays the saved "
            "file",
            Ink::Problem);
        return;
    }
    std::error_code code;
    if (std::filesystem::exists(home->file, code) && !replaceConfirmPending) {
        replaceConfirmPending = true;
        say(home->file + " exists: press R again to replace it", Ink::Highlight);
        return;
    }
    replaceConfirmPending = false;
    std::filesystem::create_directories(std::filesystem::path(home->file).parent_path(), code);
    std::ostringstream text;
    writeReplay(text, lastWin->replay);
    std::string error;
    if (!writeFileAtomically(home->file, text.str(), error)) {
        say("Replay not kept: " + error, Ink::Problem);
        return;
    }
    say("Kept the replay in " + home->file + " (won at frame " + std::to_string(lastWin->frame) +
        ")");
}

// ---- Drawing ----

std::string Editor::statusLine() const {
    std::string status = std::string(toolName(tool));
    if (usesFacing(tool))
        status += std::string(" facing ") + directionWord(facing);
    status += " | " + shownName + (onDisk ? "" : " (new)") + (modified() ? " *" : "");
    status += gridOn ? " | grid " + std::to_string(GRID_STEP) : " | no grid";
    status +=
        found.empty() ? " | checks clean" : " | " + std::to_string(found.size()) + " problem(s)";
    if (cursor.x >= 0)
        status += " | " + std::to_string(cursor.x) + ", " + std::to_string(cursor.y);
    return status + " | F1 keys";
}

EditorMarks Editor::marks() const {
    EditorMarks shown;
    shown.shown = marksShown;
    shown.gridStep = gridOn ? GRID_STEP : 0;
    shown.selected = selected;
    shown.status = statusLine();
    if (naming) {
        shown.message = "Name: " + nameDraft + "_   (Return keeps it, Escape leaves it)";
        shown.messageInk = Ink::Highlight;
    } else {
        shown.message = note;
        shown.messageInk = noteInk;
    }
    for (const LevelFinding& finding : found) {
        if (finding.line > 0)
            shown.flagged.push_back(size_t(finding.line - 1));
        if (int(shown.findings.size()) < FINDINGS_LISTED)
            shown.findings.push_back(
                (finding.line > 0 ? "line " + std::to_string(finding.line) + ": " : "") +
                finding.text);
    }
    if (int(found.size()) > FINDINGS_LISTED)
        shown.findings.back() =
            "... and " + std::to_string(found.size() - FINDINGS_LISTED + 1) + " more problems";
    if (helpShown)
        shown.help = EDITOR_HELP;
    return shown;
}

void Editor::draw() {
    const LevelDocument shown = shownDocument();
    const std::string text = shown.text();
    if (!drawn || text != drawnText) {
        // The loader's problems are listed with the checker's findings.
        drawn = std::make_unique<Level>(shown.lines(), shownName.c_str(), bg, p, ignoreLoadProblem);
        drawnText = text;
    }
    Slock(screen);
    drawn->draw();
    drawMarks(shown, marks(), lettering);
    Sulock(screen);
    SDL_Flip(screen);
}

bool Editor::handlePending() {
    SDL_Event event;
    bool open = true;
    while (open && pollWindowInput(event))
        open = handle(event);
    if (open)
        draw();
    return open;
}

void runEditor(Editor& editor) {
    editor.draw();
    // A failed wait reads as a close request, as the window's own would.
    while (editor.handle(waitForWindowInput()) && editor.handlePending()) {
    }
    const std::string report = editor.close();
    if (!report.empty())
        std::cerr << report << std::endl;
}
