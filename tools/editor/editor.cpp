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
    "S  select: click picks, Shift+click adds or drops, a drag on empty field boxes several",
    "1  ship start        2  ship area (drag)     3  wall (drag end to end)",
    "4  crate             5  forward shooter      6  dual shooter",
    "7  enemy walk: click a shooter, then its waypoints; Return or right button ends",
    "F  turn the facing (selected shooter, or the tool's); Shift+F the other way",
    "Right button  turn the shooter under the cursor a quarter turn",
    "Arrows  move the selection a grid step     Delete/Backspace  delete it",
    "Tab, Shift+Tab  select the next or previous object in the file, off the field too",
    "P  type the selection's position          [ ]  move it earlier or later in the file",
    "Ctrl+C  copy   Ctrl+V  paste at the mouse   Ctrl+D  duplicate",
    "G  grid on/off       H  hide/show all marks  N  edit the level's name",
    "L  findings list at the bottom, top or hidden; PageUp/PageDown or the wheel scroll it",
    "Ctrl+Z  undo         Ctrl+Y or Ctrl+Shift+Z  redo",
    "Ctrl+S  save   Ctrl+Shift+S  save as   Ctrl+O  open   Ctrl+N  new   Ctrl+L  reload",
    "Ctrl+U  load a recovery copy of unsaved edits (again: the next older)   Ctrl+Q  quit",
    "T  test-play (Escape or the level's end comes back)",
    "R  keep a won test-play as the level's replay (solutions/levelN.txt, or NAME.replay)",
    "Escape  cancel what is under way, or back to the select tool",
};

namespace {

constexpr int GRID_STEP = 8;
constexpr int DRAG_THRESHOLD = 3;
constexpr int FINDINGS_LISTED = 6;
// Where a pasted or duplicated group lands from the original when the mouse is off the field.
constexpr int PASTE_OFFSET = 16;

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

const char* kindName(RecordKind kind) {
    switch (kind) {
        case RecordKind::Ship:
            return "Ship";
        case RecordKind::ShipArea:
            return "ShipArea";
        case RecordKind::Wall:
            return "Wall";
        case RecordKind::Crate:
            return "Crate";
        case RecordKind::EnemyForward:
            return "EnemyForward";
        case RecordKind::EnemyDual:
            return "EnemyDual";
        case RecordKind::None:
            break;
    }
    return "";
}

std::string pointText(point p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

std::string keyName(SDLKey key) {
    const char* name = SDL_GetKeyName(key);
    return name != nullptr && *name != '\0' ? name : "that key";
}

// Keys that only change what another key means, and never do anything alone.
bool modifierKey(SDLKey key) {
    return key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
}

std::string refuseInName(Uint16 unicode) {
    if (unicode == '(')
        return "a name cannot hold \"(\": the game would read the line as a record";
    return "";
}

std::string refuseInPosition(Uint16 unicode) {
    if ((unicode >= '0' && unicode <= '9') || unicode == '-' || unicode == ',' || unicode == ' ')
        return "";
    return "a position is two whole numbers, such as 144, 120";
}

}  // namespace

bool Editor::Drag::started() const {
    return kind != None && (std::abs(now.x - pressed.x) >= DRAG_THRESHOLD ||
                            std::abs(now.y - pressed.y) >= DRAG_THRESHOLD);
}

Editor::Editor(const std::string& path, const std::string& shownName, const Lettering& lettering,
               const std::string& startDirectory)
    : filePath(path),
      shownName(shownName),
      startDirectory(startDirectory),
      lettering(lettering),
      session(newSessionName()),
      copies(std::make_unique<Recovery>(path, session)) {}

Editor::~Editor() {
    cancelAutosave();
}

// ---- Events ----

bool Editor::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return !mayClose();
        case SDL_KEYDOWN:
            return handleKey(event.key.keysym);
        case SDL_ACTIVEEVENT:
            if (event.active.gain != 0 && (event.active.state & SDL_APPINPUTFOCUS) != 0)
                regainedFocus();
            return true;
        case SDL_MOUSEMOTION:
            cursor = {event.motion.x, event.motion.y};
            drag.now = cursor;
            return true;
        case SDL_MOUSEBUTTONDOWN: {
            cursor = {event.button.x, event.button.y};
            pending = Confirm::None;
            if (helpShown || prompt.active())
                return true;
            if (pressOnFindings(cursor, event.button.button))
                return true;
            const bool shift = (SDL_GetModState() & KMOD_SHIFT) != 0;
            if (event.button.button == SDL_BUTTON_LEFT)
                pressLeft(cursor, shift);
            else if (event.button.button == SDL_BUTTON_RIGHT)
                pressRight(cursor);
            return true;
        }
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
    if (prompt.active()) {
        handlePromptKey(key);
        return true;
    }
    if (modifierKey(key.sym))
        return true;
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    if ((key.mod & KMOD_CTRL) != 0)
        return handleControlKey(key.sym, shift);
    if (helpShown) {
        if (key.sym == SDLK_F1 || key.sym == SDLK_ESCAPE)
            helpShown = false;
        return true;
    }
    return handleToolKey(key, shift);
}

bool Editor::handleToolKey(const SDL_keysym& key, bool shift) {
    // R twice replaces an existing replay; anything else in between calls it off.
    const Confirm confirming = pending;
    pending = Confirm::None;
    auto pick = [this](Tool next) {
        cancelGesture();
        tool = next;
        say(std::string("The ") + toolName(next) + " tool");
    };
    switch (key.sym) {
        case SDLK_F1:
            helpShown = true;
            break;
        case SDLK_ESCAPE:
            if (walker) {
                cancelGesture();
                say("The walk is dropped: the shooter walks as it did");
            } else if (drag.kind != Drag::None) {
                cancelGesture();
                say("Dropped what the mouse was doing");
            } else if (tool == Tool::Select && chosen.empty()) {
                sayWhyNothing("Escape: nothing is under way and nothing is selected");
            } else {
                selectOnly(std::nullopt);
                tool = Tool::Select;
                say("The select tool, nothing selected");
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
            say(gridOn ? "Grid on" : "Grid off: positions move a pixel at a time");
            break;
        case SDLK_h:
            marksShown = !marksShown;
            break;
        case SDLK_l:
            listPlace = listPlace == ListPlace::Bottom ? ListPlace::Top
                        : listPlace == ListPlace::Top  ? ListPlace::Hidden
                                                       : ListPlace::Bottom;
            say(listPlace == ListPlace::Bottom ? "The findings list is at the bottom"
                : listPlace == ListPlace::Top  ? "The findings list is at the top"
                                               : "The findings list is hidden (L shows it)");
            break;
        case SDLK_PAGEUP:
        case SDLK_PAGEDOWN: {
            if (found.size() <= size_t(FINDINGS_LISTED)) {
                sayWhyNothing(found.empty() ? "Nothing to scroll: the checks are clean"
                                            : "Nothing to scroll: every finding is listed");
                break;
            }
            const size_t last = found.size() - FINDINGS_LISTED;
            listFirst =
                key.sym == SDLK_PAGEUP
                    ? (listFirst > size_t(FINDINGS_LISTED) ? listFirst - FINDINGS_LISTED : 0)
                    : std::min(last, listFirst + FINDINGS_LISTED);
            break;
        }
        case SDLK_f:
            turnKey(shift);
            break;
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
        case SDLK_TAB:
            stepSelection(shift ? -1 : 1);
            break;
        case SDLK_LEFTBRACKET:
            moveInFile(-1);
            break;
        case SDLK_RIGHTBRACKET:
            moveInFile(1);
            break;
        case SDLK_p:
            if (!needSelection("P types its position"))
                break;
            ask(Asking::Position, "Position of line " + std::to_string(*selected + 1) + " (x, y)",
                std::to_string(doc.object(*selected)->at.x) + ", " +
                    std::to_string(doc.object(*selected)->at.y),
                refuseInPosition);
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (walker)
                finishWalk();
            else
                sayWhyNothing("Return ends an enemy's walk: none is under way");
            break;
        case SDLK_n:
            cancelGesture();
            ask(Asking::Name, "Name", doc.name(), refuseInName);
            break;
        case SDLK_t:
            return runTestPlay();
        case SDLK_r:
            saveReplay(confirming == Confirm::ReplaceReplay);
            break;
        default:
            sayWhyNothing(keyName(key.sym) + " does nothing here: F1 lists the keys");
            break;
    }
    return true;
}

bool Editor::handleControlKey(SDLKey key, bool shift) {
    const Confirm confirming = pending;
    pending = Confirm::None;
    switch (key) {
        case SDLK_s:
            if (shift)
                ask(Asking::SaveAs, "Save as", shownName);
            else
                save(confirming == Confirm::OverwriteChanged);
            break;
        case SDLK_o:
            ask(Asking::Open, "Open", shownName);
            break;
        case SDLK_n:
            ask(Asking::New, "New level file", "");
            break;
        case SDLK_l:
            reloadFromDisk();
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
        case SDLK_c:
            copySelection();
            break;
        case SDLK_v:
            paste(true);
            break;
        case SDLK_d:
            copySelection();
            paste(false);
            break;
        case SDLK_q:
            pending = confirming;  // a second Ctrl+Q is what a refused quit waits for
            return !mayClose();
        default:
            sayWhyNothing("Ctrl+" + keyName(key) + " does nothing here: F1 lists the keys");
            break;
    }
    return true;
}

void Editor::handlePromptKey(const SDL_keysym& key) {
    const Asking what = asking;
    const LinePrompt::Outcome outcome = prompt.key(key);
    if (outcome == LinePrompt::Outcome::Editing)
        return;
    asking = Asking::Nothing;
    if (outcome == LinePrompt::Outcome::Cancelled) {
        say(what == Asking::Name ? "The name is as it was" : "Left as it was");
        return;
    }
    const std::string typed = prompt.text();
    switch (what) {
        case Asking::Name:
            rename(typed);
            break;
        case Asking::Position:
            typePosition(typed);
            break;
        case Asking::SaveAs:
            saveAs(typed);
            break;
        case Asking::Open:
            openOther(typed, false);
            break;
        case Asking::New:
            openOther(typed, true);
            break;
        case Asking::Nothing:
            break;
    }
}

void Editor::pressLeft(point at, bool shift) {
    const point snapped = snapPoint(at, gridStep());
    switch (tool) {
        case Tool::Select: {
            if (selected && !shift) {
                const LevelObject* object = doc.object(*selected);
                size_t handle = 0;
                if (object != nullptr && handleNear(handlesOf(*object), at.x, at.y, handle)) {
                    drag = {Drag::Handle, at, at, *selected, handle, at, false};
                    return;
                }
            }
            const std::optional<size_t> hit = objectAt(at);
            if (!hit) {
                // On empty field a drag draws a box; a click drops the selection.
                if (!shift)
                    selectOnly(std::nullopt);
                drag = {Drag::Box, at, at, 0, 0, at, shift};
                return;
            }
            if (shift) {
                toggleSelected(*hit);
                return;
            }
            if (!std::binary_search(chosen.begin(), chosen.end(), *hit))
                selectOnly(hit);
            selected = hit;
            drag = {Drag::Move, at, at, *hit, 0, at, false};
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
            drag = {Drag::NewWall, snapped, at, 0, 0, at, false};
            return;
        case Tool::ShipArea:
            drag = {Drag::NewArea, snapped, at, 0, 0, at, false};
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
            selectOnly(picked);
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
            const bool wall = ended.kind == Drag::NewWall;
            if (edited.size() == doc.size()) {
                if (!ended.started())
                    sayWhyNothing(wall ? "A click makes no wall: drag from one end to the other"
                                       : "A click makes no ship area: drag a rectangle");
                else
                    sayWhyNothing(
                        wall ? "Too short for a wall: drag at least a grid step along it"
                             : "Too thin for a ship area: drag a rectangle with width and height");
                return;
            }
            commit(edited, wall ? "Added a wall" : "Added a ship area");
            selectOnly(doc.size() - 1);
            return;
        }
        case Drag::Move:
            if (ended.started())
                commit(edited, chosen.size() > 1 ? "Moved them" : "Moved it");
            return;
        case Drag::Handle:
            if (ended.started())
                commit(edited, "Reshaped it");
            return;
        case Drag::Box:
            if (ended.started())
                selectInBox(ended.pressed, ended.now, ended.adding);
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
    else
        sayWhyNothing("The right button turns a shooter: there is none under the mouse");
}

bool Editor::pressOnFindings(point at, Uint8 button) {
    if (listPlace == ListPlace::Hidden || found.empty())
        return false;
    const ListRows rows = findingsRows(marks(), lettering);
    const int row = rows.rowAt(at.y);
    if (row < 0)
        return false;
    if (button == SDL_BUTTON_WHEELUP || button == SDL_BUTTON_WHEELDOWN) {
        const size_t last =
            found.size() > size_t(FINDINGS_LISTED) ? found.size() - FINDINGS_LISTED : 0;
        listFirst = button == SDL_BUTTON_WHEELUP ? (listFirst > 0 ? listFirst - 1 : 0)
                                                 : std::min(last, listFirst + 1);
        return true;
    }
    if (row == 0)
        return true;  // the heading
    const LevelFinding& finding = found[listFirst + size_t(row - 1)];
    if (finding.line <= 0 || doc.object(size_t(finding.line - 1)) == nullptr) {
        selectOnly(std::nullopt);
        say(finding.line > 0
                ? "Line " + std::to_string(finding.line) + " holds no object: " + finding.text
                : finding.text);
        return true;
    }
    selectOnly(size_t(finding.line - 1));
    say("Line " + std::to_string(finding.line) + ": " + finding.text, Ink::Problem);
    return true;
}

// ---- Selection ----

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

void Editor::selectOnly(std::optional<size_t> line) {
    selected = line;
    chosen.clear();
    if (line)
        chosen.push_back(*line);
}

void Editor::toggleSelected(size_t line) {
    const auto at = std::lower_bound(chosen.begin(), chosen.end(), line);
    if (at != chosen.end() && *at == line) {
        chosen.erase(at);
        if (selected == line)
            selected = chosen.empty() ? std::nullopt : std::optional<size_t>(chosen.back());
    } else {
        chosen.insert(at, line);
        selected = line;
    }
}

void Editor::selectInBox(point a, point b, bool adding) {
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    if (!adding)
        selectOnly(std::nullopt);
    for (size_t i = 0; i < doc.size(); ++i) {
        const LevelObject* object = doc.object(i);
        if (object == nullptr)
            continue;
        const Box box = boxOf(*object);
        const bool inside =
            box.x >= left && box.x + box.w <= right && box.y >= top && box.y + box.h <= bottom;
        if (inside && !std::binary_search(chosen.begin(), chosen.end(), i))
            toggleSelected(i);
    }
    say(chosen.empty() ? "The box holds no whole object"
                       : std::to_string(chosen.size()) + " selected");
}

void Editor::stepSelection(int step) {
    std::vector<size_t> objects;
    for (size_t i = 0; i < doc.size(); ++i)
        if (doc.object(i) != nullptr)
            objects.push_back(i);
    if (objects.empty()) {
        sayWhyNothing("Tab steps through the objects: the file has none");
        return;
    }
    // The first object after (or before) the selected line, round from the end to the start.
    size_t next;
    if (!selected) {
        next = step > 0 ? objects.front() : objects.back();
    } else if (step > 0) {
        const auto after = std::upper_bound(objects.begin(), objects.end(), *selected);
        next = after == objects.end() ? objects.front() : *after;
    } else {
        const auto at = std::lower_bound(objects.begin(), objects.end(), *selected);
        next = at == objects.begin() ? objects.back() : *(at - 1);
    }
    selectOnly(next);
    say("Selected line " + std::to_string(next + 1));
}

void Editor::dropInvalidSelection() {
    chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                [this](size_t line) { return doc.object(line) == nullptr; }),
                 chosen.end());
    if (selected && doc.object(*selected) == nullptr)
        selected = chosen.empty() ? std::nullopt : std::optional<size_t>(chosen.back());
}

bool Editor::needSelection(const char* what) {
    if (selected && doc.object(*selected) != nullptr)
        return true;
    sayWhyNothing(std::string("Nothing is selected (") + what + "): click an object, or press Tab");
    return false;
}

// ---- Edits ----

void Editor::commit(const LevelDocument& edited, const std::string& what) {
    if (edited == doc)
        return;
    const bool forgot = history.edited(doc, edited);
    doc = edited;
    refreshFindings();
    say(what);
    if (forgot)
        say(what + "\nThe oldest edits can no longer be undone: the undo history keeps " +
                std::to_string(history.limit() >> 20) + " MB",
            Ink::Highlight);
    scheduleAutosave();
}

void Editor::refreshFindings() {
    found = checkLevelLines(doc.lines(), shownName);
    const size_t last = found.size() > size_t(FINDINGS_LISTED) ? found.size() - FINDINGS_LISTED : 0;
    listFirst = std::min(listFirst, last);
}

int Editor::gridStep() const {
    return gridOn ? GRID_STEP : 1;
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
        selectOnly(ship);
    } else {
        selectOnly(edited.add(object));
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

void Editor::turnKey(bool back) {
    const int turn = back ? 270 : 90;
    if (usesFacing(tool)) {
        facing = rotate(facing, turn);
        say(std::string("The tool faces ") + directionWord(facing));
        return;
    }
    if (!needSelection("F turns a selected shooter, or the facing of tools 5 and 6"))
        return;
    const LevelObject* object = doc.object(*selected);
    if (!isShooter(object->kind)) {
        sayWhyNothing(std::string("F turns shooters only: line ") + std::to_string(*selected + 1) +
                      " is a " + kindName(object->kind));
        return;
    }
    turnShooter(*selected, turn);
}

void Editor::deleteSelection() {
    if (!needSelection("Delete deletes the selection"))
        return;
    cancelGesture();
    LevelDocument edited = doc;
    for (size_t i = chosen.size(); i-- > 0;)
        edited.remove(chosen[i]);
    const size_t count = chosen.size();
    selectOnly(std::nullopt);
    commit(edited, count > 1 ? "Deleted " + std::to_string(count) : "Deleted it");
}

void Editor::nudge(int dx, int dy) {
    if (!needSelection("the arrow keys move the selection"))
        return;
    LevelDocument edited = doc;
    for (size_t line : chosen)
        edited.replace(line, movedBy(*doc.object(line), dx, dy));
    commit(edited, chosen.size() > 1 ? "Moved them" : "Moved it");
}

void Editor::moveInFile(int step) {
    if (!needSelection("[ and ] move it in the file"))
        return;
    const size_t line = *selected;
    const bool nameFirst = !doc.name().empty();
    if (step < 0 && (line == 0 || (line == 1 && nameFirst))) {
        sayWhyNothing(line == 0 ? "Line 1 is the first: nothing comes before it"
                                : "Line 1 is the level's name: it stays first");
        return;
    }
    if (step > 0 && line + 1 >= doc.size()) {
        sayWhyNothing("Line " + std::to_string(line + 1) + " is the last: nothing comes after it");
        return;
    }
    const size_t other = step < 0 ? line - 1 : line + 1;
    LevelDocument edited = doc;
    edited.swapLines(line, other);
    selectOnly(other);
    commit(edited, "Now line " + std::to_string(other + 1) +
                       (step < 0 ? ": earlier in the file, it comes first in the rules' order"
                                 : ": later in the file, it comes later in the rules' order"));
}

void Editor::copySelection() {
    if (!needSelection("copy takes the selection"))
        return;
    clipboard.clear();
    for (size_t line : chosen)
        clipboard.push_back(*doc.object(line));
    say("Copied " + std::to_string(clipboard.size()) + ": Ctrl+V pastes at the mouse");
}

void Editor::paste(bool atCursor) {
    if (clipboard.empty()) {
        if (atCursor)
            sayWhyNothing("Nothing to paste: Ctrl+C copies the selection first");
        return;
    }
    // The group keeps its shape: its top-left corner goes to the mouse, snapped, or a little
    // off the original.
    int left = clipboard.front().at.x, top = clipboard.front().at.y;
    for (const LevelObject& object : clipboard) {
        const Box box = boxOf(object);
        left = std::min(left, box.x);
        top = std::min(top, box.y);
    }
    const bool onField = cursor.x >= 0 && cursor.y >= 0;
    const point corner = atCursor && onField ? snapPoint(cursor, gridStep())
                                             : point{left + PASTE_OFFSET, top + PASTE_OFFSET};
    LevelDocument edited = doc;
    std::vector<size_t> added;
    for (const LevelObject& object : clipboard)
        added.push_back(edited.add(movedBy(object, corner.x - left, corner.y - top)));
    chosen = added;
    selected = added.back();
    commit(edited, (atCursor ? "Pasted " : "Duplicated ") + std::to_string(added.size()) +
                       " at the end of the file");
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
        sayWhyNothing(history.bytes() == 0 ? "Nothing to undo"
                                           : "Nothing older to undo: the oldest edits were let go");
        return;
    }
    dropInvalidSelection();
    refreshFindings();
    say("Undone");
    scheduleAutosave();
}

void Editor::redo() {
    cancelGesture();
    if (!history.redo(doc)) {
        sayWhyNothing("Nothing to redo");
        return;
    }
    dropInvalidSelection();
    refreshFindings();
    say("Redone");
    scheduleAutosave();
}

// ---- Prompts ----

void Editor::ask(Asking what, const std::string& label, const std::string& text,
                 LinePrompt::Refusal refusal) {
    asking = what;
    prompt.start(label, text, std::move(refusal));
}

void Editor::rename(const std::string& name) {
    if (name == doc.name())
        return;
    LevelDocument named = doc;
    if (named.setName(name)) {
        // A name line came in before every other line.
        for (size_t& line : chosen)
            ++line;
        if (selected)
            ++*selected;
    }
    commit(named, "Named the level \"" + name + "\"");
}

void Editor::typePosition(const std::string& text) {
    std::istringstream in(text);
    long x = 0, y = 0;
    char comma = 0;
    const bool read = (in >> x) && (in >> std::ws, in.peek() == ',' ? bool(in >> comma) : true) &&
                      (in >> y) && (in >> std::ws).eof();
    // Far enough off the field for any level, near enough for the game's arithmetic.
    constexpr long FARTHEST = 100000;
    if (!read || std::abs(x) > FARTHEST || std::abs(y) > FARTHEST) {
        sayWhyNothing("Not moved: a position is two whole numbers, such as 144, 120 (at most " +
                      std::to_string(FARTHEST) + " either way)");
        return;
    }
    if (!selected || doc.object(*selected) == nullptr)
        return;
    const LevelObject& object = *doc.object(*selected);
    LevelDocument edited = doc;
    edited.replace(*selected, movedBy(object, int(x) - object.at.x, int(y) - object.at.y));
    commit(edited,
           "Moved line " + std::to_string(*selected + 1) + " to " + pointText({int(x), int(y)}));
}

std::string Editor::typedPath(const std::string& typed) const {
    const std::filesystem::path path(typed);
    if (path.is_absolute() || startDirectory.empty())
        return std::filesystem::absolute(path).lexically_normal().string();
    return (std::filesystem::path(startDirectory) / path).lexically_normal().string();
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
            for (size_t line : chosen)
                shown.replace(line, movedBy(*doc.object(line), anchor.x - object.at.x,
                                            anchor.y - object.at.y));
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
        case Drag::Box:
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

void Editor::say(const std::string& text, Ink ink) {
    note = text;
    noteInk = ink;
}

void Editor::sayWhyNothing(const std::string& why) {
    say(why, Ink::Highlight);
}

// ---- Test-play and replays ----

bool Editor::runTestPlay() {
    cancelGesture();
    const std::string home = editorReplayHome(filePath);
    const TestPlayResult result =
        testPlay(doc.lines(), shownName, levelOfFile(filePath), p, testPlayWatcher);
    // The window saw the play screen: whatever the editor drew before must be drawn again.
    drawnText.clear();
    if (result.state == STATE_QUIT)
        return !mayClose();
    const std::string frame = std::to_string(result.frame);
    if (result.state == STATE_LEVEL_WON) {
        lastWin = WonPlay{result.replay, doc.text(), result.frame};
        say("Test-play won at frame " + frame + ": R keeps it as " + home, Ink::Highlight);
    } else if (result.state == STATE_LEVEL_LOST || result.state == STATE_GAME_OVER) {
        say("Test-play lost at frame " + frame + " (no life spent)", Ink::Problem);
    } else {
        say("Test-play left at frame " + frame);
    }
    return true;
}

void Editor::saveReplay(bool confirmed) {
    const std::string home = editorReplayHome(filePath);
    if (!lastWin) {
        say("Win a test-play first (T): R keeps its keys as the level's replay", Ink::Highlight);
        return;
    }
    if (lastWin->text != doc.text()) {
        say("The level has changed since the test-play was won: win a new test-play (T), then R",
            Ink::Problem);
        return;
    }
    if (modified()) {
        say("Save the level first (Ctrl+S), as it was test-played: the replay plays the saved "
            "file",
            Ink::Problem);
        return;
    }
    std::error_code code;
    if (std::filesystem::exists(home, code) && !confirmed) {
        pending = Confirm::ReplaceReplay;
        say(home + " exists: press R again to replace it", Ink::Highlight);
        return;
    }
    std::filesystem::create_directories(std::filesystem::path(home).parent_path(), code);
    // The file as it is named now: a Save As since the test-play moved the level.
    Replay replay = levelOfFile(filePath).replay(lastWin->replay.ship);
    replay.events = lastWin->replay.events;
    std::ostringstream text;
    writeReplay(text, replay, home);
    std::string error;
    if (!writeFileAtomically(home, text.str(), error)) {
        say("Replay not kept: " + error, Ink::Problem);
        return;
    }
    say("Kept the replay in " + home + " (won at frame " + std::to_string(lastWin->frame) + ")");
}

// ---- Drawing ----

std::string Editor::message() const {
    if (!prompt.active())
        return note;
    return prompt.shown() +
           (prompt.complaint().empty() ? std::string() : "\nRefused: " + prompt.complaint());
}

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

std::string Editor::selectionLine() const {
    if (!selected || doc.object(*selected) == nullptr)
        return "";
    const LevelObject& object = *doc.object(*selected);
    std::string text = "line " + std::to_string(*selected + 1) + ": " + kindName(object.kind) +
                       " at " + pointText(object.at);
    if (object.kind == RecordKind::Wall || object.kind == RecordKind::ShipArea)
        text += " to " + pointText(object.to);
    if (isShooter(object.kind))
        text +=
            std::string(" facing ") + directionWord(object.direction) +
            (object.walk.empty() ? "" : ", " + std::to_string(object.walk.size()) + "-point walk");
    const Box box = boxOf(object);
    if (box.x + box.w <= 0 || box.y + box.h <= 0 || box.x >= SCREEN_WIDTH || box.y >= SCREEN_HEIGHT)
        text += " (off the field)";
    if (chosen.size() > 1)
        text += " | " + std::to_string(chosen.size()) + " selected";
    return text + " | P types its position";
}

EditorMarks Editor::marks() const {
    EditorMarks shown;
    shown.shown = marksShown;
    shown.gridStep = gridOn ? GRID_STEP : 0;
    shown.selected = selected;
    for (size_t line : chosen)
        if (line != selected)
            shown.alsoSelected.push_back(line);
    shown.status = statusLine();
    shown.selection = selectionLine();
    shown.message = message();
    shown.messageInk = prompt.active() ? Ink::Highlight : noteInk;
    if (drag.kind == Drag::Box && drag.started())
        shown.box =
            Box{std::min(drag.pressed.x, drag.now.x), std::min(drag.pressed.y, drag.now.y),
                std::abs(drag.now.x - drag.pressed.x), std::abs(drag.now.y - drag.pressed.y)};
    for (const LevelFinding& finding : found)
        if (finding.line > 0)
            shown.flagged.push_back(size_t(finding.line - 1));
    shown.listOnTop = listPlace == ListPlace::Top;
    if (listPlace != ListPlace::Hidden && !found.empty()) {
        const size_t last = std::min(found.size(), listFirst + FINDINGS_LISTED);
        shown.findings.push_back(
            "Findings " + std::to_string(listFirst + 1) + "-" + std::to_string(last) + " of " +
            std::to_string(found.size()) +
            (found.size() > size_t(FINDINGS_LISTED) ? " (PageUp/PageDown)" : "") +
            ": click one to select it; L moves or hides this list");
        for (size_t i = listFirst; i < last; ++i)
            shown.findings.push_back(
                (found[i].line > 0 ? "line " + std::to_string(found[i].line) + ": " : "") +
                found[i].text);
    }
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
    if (open) {
        autosaveIfDue();
        draw();
    }
    return open;
}

void runEditor(Editor& editor) {
    // While an autosave is due the loop looks for events a few times a second, so that the
    // copy is written on time; otherwise it sleeps until an event comes.
    constexpr Uint32 AUTOSAVE_POLL_MS = 100;
    editor.draw();
    for (;;) {
        SDL_Event event;
        if (editor.autosavePending()) {
            if (!pollWindowInput(event)) {
                SDL_Delay(AUTOSAVE_POLL_MS);
                if (editor.autosaveIfDue())
                    editor.draw();
                continue;
            }
        } else {
            // A failed wait reads as a close request, as the window's own would.
            event = waitForWindowInput();
        }
        if (!editor.handle(event) || !editor.handlePending())
            break;
    }
    if (!editor.farewell().empty())
        std::cerr << editor.farewell() << std::endl;
}
