// The editor's files: opening a level, saving it (as itself or under another name), files
// changed on disk meanwhile, and the recovery copies that keep unsaved edits through a crash,
// a refused save or a closed window.
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "editor.h"
#include "userfiles.h"

namespace {

constexpr const char* BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// When a file was last written, as the designer's clock reads.
std::string whenWritten(const std::string& path) {
    struct stat file;
    if (stat(path.c_str(), &file) != 0)
        return "an unknown time";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&file.st_mtime));
    return text;
}

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

bool folderExists(const std::string& path) {
    std::error_code code;
    return std::filesystem::is_directory(folderOf(path), code);
}

}  // namespace

bool Editor::open(std::string& error) {
    if (!loadFile(filePath, shownName, error))
        return false;
    SDL_EnableUNICODE(1);
    return true;
}

bool Editor::loadFile(const std::string& absolute, const std::string& shown, std::string& error) {
    std::string text;
    std::error_code code;
    const bool exists = std::filesystem::exists(absolute, code);
    if (exists && !readWholeFile(absolute, text, error))
        return false;
    cancelAutosave();
    setFile(absolute, shown);
    doc = exists ? LevelDocument::fromText(text) : LevelDocument::newLevel();
    onDisk = exists;
    stamp = exists ? FileStamp::of(absolute, text) : FileStamp();
    history = EditHistory();
    savedState = history.state();
    selectOnly(std::nullopt);
    cancelGesture();
    lastWin.reset();
    loadedCopy.clear();
    nextCopy = 0;
    listFirst = 0;
    pending = Confirm::None;
    drawn.reset();
    // A byte-order mark hides the first line's record from the game; the editor takes it off
    // as an edit of its own, which the designer sees, can undo, and saves like any other.
    const std::string mark = BYTE_ORDER_MARK;
    const bool byteOrderMark = text.compare(0, mark.size(), mark) == 0;
    if (byteOrderMark)
        commit(LevelDocument::fromText(text.substr(mark.size())), "");
    refreshFindings();
    bool warning = false;
    const std::vector<std::string> notices = openingNotices(byteOrderMark, warning);
    std::string joined;
    for (const std::string& notice : notices)
        joined += (joined.empty() ? "" : "\n") + notice;
    say(joined, warning ? Ink::Problem : notices.size() > 1 ? Ink::Highlight : Ink::Plain);
    return true;
}

std::vector<std::string> Editor::openingNotices(bool byteOrderMark, bool& warning) const {
    std::vector<std::string> notices;
    std::string target, problem;
    const bool linked = resolveLinks(filePath, target, problem) && target != filePath;
    if (onDisk) {
        notices.push_back("Opened " + shownName);
    } else if (linked) {
        warning = !folderExists(target);
        notices.push_back(shownName + " is a link to " + target + ", which does not exist yet: " +
                          (folderExists(target) ? "Ctrl+S makes it there"
                                                : "its folder does not exist, so Ctrl+S cannot "
                                                  "make it; Ctrl+Shift+S saves elsewhere"));
    } else if (!folderExists(filePath)) {
        warning = true;
        notices.push_back(shownName + " is a new file, but the folder " + folderOf(filePath) +
                          " does not exist: Ctrl+S cannot write it; Ctrl+Shift+S saves elsewhere");
    } else {
        notices.push_back(shownName + " is a new file: Ctrl+S writes it");
    }
    if (byteOrderMark)
        notices.push_back(
            "The file began with a byte-order mark, which hid its first line from "
            "the game: it is taken off (Ctrl+Z puts it back)");
    if (const int names = linkCount(filePath); names > 1)
        notices.push_back(shownName + " has " + std::to_string(names - 1) +
                          " other name(s) (hard links): a save gives this name a file of its "
                          "own, the others keep the level as it was");
    const TextTraits traits = doc.traits();
    const size_t written = onDisk ? traits.filled : 0;
    const bool hardlyRecords = written >= 2 && traits.records * 10 < written;
    warning = warning || traits.nulBytes || hardlyRecords;
    if (traits.nulBytes)
        notices.push_back(shownName +
                          " holds NUL bytes, which no level file has: is it a level? "
                          "Lines not edited keep their bytes");
    else if (hardlyRecords)
        notices.push_back(shownName + " hardly looks like a level: " +
                          std::to_string(traits.records) + " of its " + std::to_string(written) +
                          " lines with text are records. Lines not edited keep their bytes");
    if (traits.crlfEnds > 0 && traits.lfEnds > 0)
        notices.push_back("Line ends are mixed (" + std::to_string(traits.crlfEnds) + " CR LF, " +
                          std::to_string(traits.lfEnds) +
                          " LF): each line keeps its own, new lines end in " +
                          (doc.newLineEnd() == "\r\n" ? "CR LF" : "LF"));
    else if (traits.crlfEnds > 0)
        notices.push_back("Line ends are CR LF: kept, and new lines get CR LF too");
    if (!traits.lastLineEnded)
        notices.push_back("The last line has no line end: it gets one if a line is added after it");
    const std::vector<RecoveryCopy> others = copies->others();
    if (!others.empty()) {
        std::string notice = "Unsaved edits of this file were kept (" +
                             whenWritten(others.front().path) + "): Ctrl+U loads them";
        for (size_t i = 1; i < others.size(); ++i)
            notice += (i == 1 ? "; also kept: " : ", ") +
                      std::filesystem::path(others[i].path).filename().string();
        notices.push_back(notice);
    }
    return notices;
}

void Editor::setFile(const std::string& absolute, const std::string& shown) {
    filePath = absolute;
    shownName = shown;
    copies = std::make_unique<Recovery>(absolute, session);
    keptHash = 0;
    SDL_WM_SetCaption(("Skarlume editor: " + shownName).c_str(), "Skarlume editor");
}

bool Editor::save(bool overwrite) {
    if (!overwrite && changedOnDisk(filePath, stamp)) {
        pending = Confirm::OverwriteChanged;
        say(shownName +
                (stamp.exists ? " changed on disk since it was read or saved here"
                              : " was made on disk since the editor opened it") +
                ": Ctrl+S again writes over it;\nCtrl+L loads what is on disk instead (Ctrl+Z "
                "comes back to your edits)",
            Ink::Problem);
        return false;
    }
    std::string error;
    const std::string text = doc.text();
    const int names = linkCount(filePath);
    if (!writeFileAtomically(filePath, text, error)) {
        saveFailed(error);
        return false;
    }
    savedState = history.state();
    onDisk = true;
    stamp = FileStamp::of(filePath, text);
    copies->discard();
    keptHash = 0;
    // Recovered edits are in the file now; their copy would only offer them again.
    if (!loadedCopy.empty()) {
        std::error_code ignored;
        std::filesystem::remove(loadedCopy, ignored);
        loadedCopy.clear();
    }
    std::string said =
        "Saved " + shownName +
        (found.empty() ? "" : " (" + std::to_string(found.size()) + " problem(s) remain)");
    if (names > 1)
        said += "\nIts " + std::to_string(names - 1) +
                " other name(s) (hard links) keep the level as it was before";
    say(said);
    return true;
}

void Editor::saveFailed(const std::string& error) {
    const bool kept = keepRecoveryCopy();
    say("Not saved: " + error + "; the file on disk is as it was.\nCtrl+Shift+S saves elsewhere" +
            (kept ? "; your edits are kept in " + copies->kept() : ""),
        Ink::Problem);
}

void Editor::saveAs(const std::string& typed) {
    if (typed.empty()) {
        sayWhyNothing("Not saved: no file name was given");
        return;
    }
    const std::string absolute = typedPath(typed);
    if (absolute == filePath) {
        save(false);
        return;
    }
    std::error_code code;
    if (std::filesystem::exists(absolute, code) &&
        !(pending == Confirm::ReplaceFile && pendingPath == absolute)) {
        pending = Confirm::ReplaceFile;
        pendingPath = absolute;
        ask(Asking::SaveAs, typed + " exists: Return replaces it, Escape leaves it. Save as",
            typed);
        return;
    }
    pending = Confirm::None;
    std::string error;
    const std::string text = doc.text();
    if (!writeFileAtomically(absolute, text, error)) {
        saveFailed(error);
        return;
    }
    copies->discard();
    setFile(absolute, typed);
    savedState = history.state();
    onDisk = true;
    stamp = FileStamp::of(absolute, text);
    lastWin.reset();  // a replay belongs to the file it was won in
    refreshFindings();
    say("Saved as " + typed + ": Ctrl+S now writes this file");
}

bool Editor::leaveEditsBehind() {
    if (!modified()) {
        copies->discard();
        return true;
    }
    if (keepRecoveryCopy())
        return true;
    say("Your unsaved edits cannot be kept in a recovery copy: " + keepError +
            "\nSave them first (Ctrl+S, or Ctrl+Shift+S elsewhere)",
        Ink::Problem);
    return false;
}

void Editor::openOther(const std::string& typed, bool asNew) {
    if (typed.empty()) {
        sayWhyNothing("Nothing opened: no file name was given");
        return;
    }
    const std::string absolute = typedPath(typed);
    std::error_code code;
    const bool exists = std::filesystem::exists(absolute, code);
    if (asNew && exists) {
        sayWhyNothing(typed + " exists: Ctrl+O opens it; a new level needs a name of its own");
        return;
    }
    if (!exists && !folderExists(absolute) &&
        !(pending == Confirm::OpenMissingFolder && pendingPath == absolute)) {
        pending = Confirm::OpenMissingFolder;
        pendingPath = absolute;
        ask(asNew ? Asking::New : Asking::Open,
            "The folder " + folderOf(absolute) +
                " does not exist: Return opens it anyway (Ctrl+S cannot write there). Open",
            typed);
        return;
    }
    pending = Confirm::None;
    const std::string left = shownName;
    const bool keptEdits = modified();
    if (!leaveEditsBehind())
        return;
    std::string error;
    if (!loadFile(absolute, typed, error)) {
        say("Not opened: " + error, Ink::Problem);
        return;
    }
    if (keptEdits)
        say(note + "\nYour unsaved edits of " + left +
                " are kept in a recovery copy: opening it again offers them",
            Ink::Highlight);
}

void Editor::reloadFromDisk() {
    std::string text;
    const FileStamp now = FileStamp::read(filePath, &text);
    if (!now.exists) {
        sayWhyNothing(shownName + " is not on disk: nothing to load (Ctrl+S writes it)");
        return;
    }
    cancelGesture();
    commit(LevelDocument::fromText(text), "");
    dropInvalidSelection();
    savedState = history.state();
    stamp = now;
    onDisk = true;
    say("Loaded " + shownName + " as it is on disk: Ctrl+Z goes back to the edits before");
}

void Editor::regainedFocus() {
    if (!changedOnDisk(filePath, stamp))
        return;
    say(shownName + " changed on disk while the editor was away:\nCtrl+L loads it (Ctrl+Z " +
            "comes back to your edits); Ctrl+S asks before writing over it",
        Ink::Problem);
}

void Editor::recoverUnsaved() {
    const std::vector<RecoveryCopy> others = copies->others();
    if (others.empty()) {
        sayWhyNothing("No recovery copy of " + shownName + " to load");
        return;
    }
    const RecoveryCopy& copy = others[nextCopy % others.size()];
    std::string text, error;
    if (!readWholeFile(copy.path, text, error)) {
        say("Nothing loaded: " + error, Ink::Problem);
        return;
    }
    ++nextCopy;
    cancelGesture();
    selectOnly(std::nullopt);
    commit(LevelDocument::fromText(text), "");
    loadedCopy = copy.path;
    say("Loaded the unsaved edits kept " + whenWritten(copy.path) + ": Ctrl+S saves them as " +
            shownName + ", Ctrl+Z goes back" +
            (others.size() > 1 ? "; Ctrl+U again loads the next older copy" : ""),
        Ink::Highlight);
}

// ---- Recovery copies ----

void Editor::scheduleAutosave() {
    // The first edit after a copy sets the time; later ones before it ride along.
    if (!autosavePending())
        autosaveAt = SDL_GetTicks() + AUTOSAVE_DELAY_MS;
    autosaveDue = true;
}

void Editor::cancelAutosave() {
    autosaveDue = false;
}

bool Editor::autosaveIfDue() {
    if (!autosaveDue || Sint32(SDL_GetTicks() - autosaveAt) < 0)
        return false;
    autosaveDue = false;
    if (!keepRecoveryCopy())
        say("No recovery copy of the unsaved edits could be written: " + keepError, Ink::Problem);
    return true;
}

bool Editor::keepRecoveryCopy() {
    if (!modified()) {
        copies->discard();
        keptHash = 0;
        return true;
    }
    const std::string text = doc.text();
    const std::uint64_t hash = hashOf(text);
    if (!copies->kept().empty() && hash == keptHash)
        return true;
    if (!copies->keep(text, keepError)) {
        keptHash = 0;
        return false;
    }
    keptHash = hash;
    return true;
}

bool Editor::mayClose() {
    if (pending == Confirm::Quit) {
        if (modified())
            leaving = "editor: your unsaved edits of " + shownName + " are lost: " + keepError;
        return true;
    }
    if (!modified()) {
        copies->discard();
        return true;
    }
    if (keepRecoveryCopy()) {
        leaving = "editor: unsaved edits written to " + copies->kept() + " (opening " + shownName +
                  " again offers them)";
        return true;
    }
    pending = Confirm::Quit;
    say("Your unsaved edits cannot be kept anywhere: " + keepError +
            "\nCtrl+S saves them, Ctrl+Shift+S elsewhere; Ctrl+Q or closing the window again "
            "quits and loses them",
        Ink::Problem);
    return false;
}
