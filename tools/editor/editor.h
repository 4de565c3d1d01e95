// The level editor: the document being edited, the tools, what the mouse and keys do, the
// files (saving, recovery copies, changes made on disk), and the window loop that sleeps until
// something happens.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document.h"
#include "filestamp.h"
#include "history.h"
#include "lettering.h"
#include "levelcheck.h"
#include "prompt.h"
#include "recovery.h"
#include "replayfile.h"
#include "skarlume.h"
#include "view.h"

class Level;

enum class Tool { Select, ShipStart, ShipArea, Wall, Crate, ForwardShooter, DualShooter, Walk };

// The keys and mouse buttons, as the help overlay lists them.
extern const std::vector<std::string> EDITOR_HELP;

// What a second press of the same key or button confirms; any other key calls it off.
enum class Confirm { None, ReplaceReplay, OverwriteChanged, Quit, ReplaceFile, OpenMissingFolder };

// Where the findings list stands on the field.
enum class ListPlace { Bottom, Top, Hidden };

class Editor {
public:
    // `path` is the file read and written (absolute); `shownName` is how the window names it;
    // paths typed into the editor's prompts are taken from `startDirectory`.
    Editor(const std::string& path, const std::string& shownName, const Lettering& lettering,
           const std::string& startDirectory = "");
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Reads the file, or starts a new level when there is none; false, with the reason, when
    // the file is there but cannot be read.
    bool open(std::string& error);

    // Handles one event; false when the editor is to close.
    bool handle(const SDL_Event& event);
    // Handles every waiting event, then draws; false when the editor is to close.
    bool handlePending();
    void draw();

    // Writes the document to its file; on failure the window says why and the file is whole.
    // A file changed on disk since it was read is written over only when `overwrite` is set.
    bool save(bool overwrite = false);
    // Writes the unsaved edits to this session's recovery copy (the autosave); false when no
    // place would take them. Without unsaved edits, the copy is removed.
    bool keepRecoveryCopy();
    // Whether an edit waits for its autosave, and writing it once its time has come (true
    // when it was due, whether or not the copy could be written).
    bool autosavePending() const { return autosaveDue; }
    bool autosaveIfDue();
    // Whether the editor may close now: unsaved edits are kept in the recovery copy first;
    // when no copy can be written the window says so and only a second request closes.
    bool mayClose();
    // The line for the standard error stream once the window has closed ("" for none).
    const std::string& farewell() const { return leaving; }

    const LevelDocument& document() const { return doc; }
    bool modified() const { return history.state() != savedState; }
    // What the message line shows: the last word the editor said, or the prompt open.
    std::string message() const;
    const std::string& path() const { return filePath; }
    Tool currentTool() const { return tool; }
    int toolFacing() const { return facing; }
    // The object picked last; selectedLines() holds it and every other one picked with it.
    std::optional<size_t> selection() const { return selected; }
    const std::vector<size_t>& selectedLines() const { return chosen; }
    const std::vector<LevelFinding>& findings() const { return found; }
    const Recovery& recovery() const { return *copies; }
    const EditHistory& undoHistory() const { return history; }
    ListPlace findingsPlace() const { return listPlace; }

    // Lets a test see every event and frame of a test-play, as the play screen's observer.
    void setTestPlayWatcher(PlayObserver watcher) { testPlayWatcher = watcher; }

private:
    struct Drag {
        enum Kind { None, Move, Handle, NewWall, NewArea, Box } kind = None;
        point from{0, 0};  // where it started, snapped to the grid for new walls and areas
        point now{0, 0};
        size_t line = 0;
        size_t handle = 0;
        point pressed{0, 0};  // where the button went down
        bool adding = false;  // a box drawn with Shift adds to the selection

        // A click is no drag: the mouse must travel a few pixels before anything changes.
        bool started() const;
    };
    struct WonPlay {
        Replay replay;
        std::string text;  // the level as it was played
        int frame;
    };
    enum class Asking { Nothing, Name, Position, SaveAs, Open, New };

    bool handleKey(const SDL_keysym& key);
    bool handleToolKey(const SDL_keysym& key, bool shift);
    bool handleControlKey(SDLKey key, bool shift);
    void handlePromptKey(const SDL_keysym& key);
    void pressLeft(point at, bool shift);
    void releaseLeft();
    void pressRight(point at);
    bool pressOnFindings(point at, Uint8 button);
    void regainedFocus();

    void commit(const LevelDocument& edited, const std::string& what);
    void refreshFindings();
    LevelDocument shownDocument() const;
    EditorMarks marks() const;
    std::string statusLine() const;
    std::string selectionLine() const;
    int gridStep() const;

    // Selection.
    std::optional<size_t> objectAt(point at) const;
    void selectOnly(std::optional<size_t> line);
    void toggleSelected(size_t line);
    void selectInBox(point a, point b, bool adding);
    void stepSelection(int step);
    void dropInvalidSelection();
    bool needSelection(const char* what);

    // Edits.
    point placedAt(RecordKind kind, point mouse) const;
    void place(RecordKind kind, point mouse);
    void turnShooter(size_t line, int turn);
    void turnKey(bool back);
    void deleteSelection();
    void nudge(int dx, int dy);
    void moveInFile(int step);
    void copySelection();
    void paste(bool atCursor);
    void finishWalk();
    void cancelGesture();
    void undo();
    void redo();

    // Prompts.
    void ask(Asking what, const std::string& label, const std::string& text,
             LinePrompt::Refusal refusal = nullptr);
    void rename(const std::string& name);
    void typePosition(const std::string& text);
    std::string typedPath(const std::string& typed) const;

    // Files (editorfiles.cpp).
    bool loadFile(const std::string& absolute, const std::string& shown, std::string& error);
    // What the message line says on opening a file, one notice a line; `warning` is set
    // when one of them needs the designer's attention.
    std::vector<std::string> openingNotices(bool byteOrderMark, bool& warning) const;
    void saveAs(const std::string& typed);
    void openOther(const std::string& typed, bool asNew);
    bool leaveEditsBehind();
    void reloadFromDisk();
    void recoverUnsaved();
    void scheduleAutosave();
    void cancelAutosave();
    void setFile(const std::string& absolute, const std::string& shown);
    void saveFailed(const std::string& error);

    bool runTestPlay();
    void saveReplay(bool confirmed);
    void say(const std::string& text, Ink ink = Ink::Plain);
    void sayWhyNothing(const std::string& why);

    std::string filePath;
    std::string shownName;
    std::string startDirectory;
    const Lettering& lettering;
    LevelDocument doc;
    std::uint64_t savedState = 0;  // the history's state when the file was read or saved
    FileStamp stamp;
    bool onDisk = false;
    EditHistory history;
    std::string session;
    std::unique_ptr<Recovery> copies;
    std::uint64_t keptHash = 0;  // what this session's recovery copy holds
    std::string keepError;       // why the last recovery copy could not be written
    size_t nextCopy = 0;         // which of the other sessions' copies Ctrl+U loads next
    std::string loadedCopy;      // the copy Ctrl+U loaded, removed once it is saved
    bool autosaveDue = false;
    Uint32 autosaveAt = 0;  // SDL_GetTicks() when the autosave is due
    std::string leaving;

    Tool tool = Tool::Select;
    int facing = 180;
    bool gridOn = true;
    bool marksShown = true;
    bool helpShown = false;
    std::optional<size_t> selected;
    std::vector<size_t> chosen;  // sorted
    std::vector<LevelObject> clipboard;
    Drag drag;
    std::optional<size_t> walker;
    std::vector<point> walkPoints;
    Asking asking = Asking::Nothing;
    LinePrompt prompt;
    point cursor{-1, -1};

    std::vector<LevelFinding> found;
    ListPlace listPlace = ListPlace::Bottom;
    size_t listFirst = 0;
    std::string note;
    Ink noteInk = Ink::Plain;
    std::optional<WonPlay> lastWin;
    Confirm pending = Confirm::None;
    std::string pendingPath;  // the path a confirmation is about
    PlayObserver testPlayWatcher = nullptr;

    std::unique_ptr<Level> drawn;
    std::string drawnText;
};

// How long after an edit its recovery copy is written: a crash loses no more.
constexpr Uint32 AUTOSAVE_DELAY_MS = 2000;

// The editor's window loop: draws, then sleeps in SDL_WaitEvent until an event comes, handles
// it and every event behind it, and draws again; ends when the window closes.
void runEditor(Editor& editor);
