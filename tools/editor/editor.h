// The level editor: the document being edited, the tools, what the mouse and keys do, saving,
// and the window loop that sleeps until something happens.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document.h"
#include "history.h"
#include "lettering.h"
#include "levelcheck.h"
#include "replayfile.h"
#include "skarlume.h"
#include "view.h"

class Level;

enum class Tool { Select, ShipStart, ShipArea, Wall, Crate, ForwardShooter, DualShooter, Walk };

// The keys and mouse buttons, as the help overlay lists them.
extern const std::vector<std::string> EDITOR_HELP;

class Editor {
public:
    // `path` is the file read and written (absolute); `shownName` is how the window names it.
    Editor(const std::string& path, const std::string& shownName, const Lettering& lettering);
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
    bool save();
    // Closing: edits not saved go to FILE.unsaved. Returns the line for the standard error
    // stream, or "" when there was nothing to keep.
    std::string close();

    const LevelDocument& document() const { return doc; }
    bool modified() const { return doc.text() != savedText; }
    const std::string& message() const { return note; }
    std::optional<size_t> selection() const { return selected; }
    const std::vector<LevelFinding>& findings() const { return found; }
    std::string unsavedPath() const { return path + ".unsaved"; }

    // Lets a test see every event and frame of a test-play, as the play screen's observer.
    void setTestPlayWatcher(PlayObserver watcher) { testPlayWatcher = watcher; }

private:
    struct Drag {
        enum Kind { None, Move, Handle, NewWall, NewArea } kind = None;
        point from{0, 0};  // where it started, snapped to the grid for new walls and areas
        point now{0, 0};
        size_t line = 0;
        size_t handle = 0;
        point pressed{0, 0};  // where the button went down

        // A click is no drag: the mouse must travel a few pixels before anything changes.
        bool started() const;
    };
    struct WonPlay {
        Replay replay;
        std::string text;  // the level as it was played
        int frame;
    };

    bool handleKey(const SDL_keysym& key);
    bool handleControlKey(SDLKey key, bool shift);
    void handleNameKey(const SDL_keysym& key);
    void pressLeft(point at);
    void releaseLeft();
    void pressRight(point at);

    void commit(const LevelDocument& edited, const std::string& what);
    void refreshFindings();
    LevelDocument shownDocument() const;
    EditorMarks marks() const;
    std::string statusLine() const;
    int gridStep() const;

    std::optional<size_t> objectAt(point at) const;
    point placedAt(RecordKind kind, point mouse) const;
    void place(RecordKind kind, point mouse);
    void turnShooter(size_t line, int turn);
    void deleteSelection();
    void nudge(int dx, int dy);
    void finishWalk();
    void cancelGesture();
    void undo();
    void redo();
    void recoverUnsaved();
    bool runTestPlay();
    void saveReplay();
    void say(const std::string& text, Ink ink = Ink::Plain);

    std::string path;
    std::string shownName;
    const Lettering& lettering;
    LevelDocument doc;
    std::string savedText;
    bool onDisk = false;
    EditHistory history;

    Tool tool = Tool::Select;
    int facing = 180;
    bool gridOn = true;
    bool marksShown = true;
    bool helpShown = false;
    std::optional<size_t> selected;
    Drag drag;
    std::optional<size_t> walker;
    std::vector<point> walkPoints;
    bool naming = false;
    std::string nameDraft;
    point cursor{-1, -1};

    std::vector<LevelFinding> found;
    std::string note;
    Ink noteInk = Ink::Plain;
    std::optional<WonPlay> lastWin;
    bool replaceConfirmPending = false;
    bool recovered = false;
    PlayObserver testPlayWatcher = nullptr;

    std::unique_ptr<Level> drawn;
    std::string drawnText;
};

// The editor's window loop: draws, then sleeps in SDL_WaitEvent until an event comes, handles
// it and every event behind it, and draws again; ends when the window closes.
void runEditor(Editor& editor);
