// The editor never loses a designer's work: recovery copies of every session, a quit that no
// copy can keep, a folder that does not exist, files changed on disk, links, owners and modes,
// and undo that stays small on a large file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "editorfixture.h"
#include "history.h"
#include "recovery.h"
#include "userfiles.h"

namespace {

const std::string SMALL_LEVEL = "Small\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";

void placeCrate(int x, int y) {
    pushKey(SDLK_4);
    click(x, y);
}

TEST_F(EditorTest, EverySessionKeepsItsOwnCopyAndTheNewestIsOfferedWithTheOthersNamed) {
    const std::string file = scratch.write("levels/f.txt", SMALL_LEVEL);
    Editor& first = open("levels/f.txt");
    placeCrate(200, 200);
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    const std::string firstCopy = first.recovery().kept();
    const std::string firstText = first.document().text();
    ASSERT_FALSE(firstCopy.empty());
    // The copies' times tell them apart; a file system may keep them only to the second.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));

    Editor& second = open("levels/f.txt");
    EXPECT_NE(second.message().find("Unsaved edits of this file were kept"), std::string::npos)
        << second.message();
    placeCrate(600, 200);
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    const std::string secondCopy = second.recovery().kept();
    ASSERT_NE(secondCopy, firstCopy);
    EXPECT_EQ(readFile(firstCopy), firstText) << "the first session's copy was written over";
    EXPECT_EQ(recoveryCopies().size(), 2u);

    // The third session offers the newest and names the other; Ctrl+U goes on to the older.
    Editor& third = open("levels/f.txt");
    EXPECT_NE(third.message().find(std::filesystem::path(firstCopy).filename().string()),
              std::string::npos)
        << third.message();
    pushKey(SDLK_u, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(third.document().text(), readFile(secondCopy));
    pushKey(SDLK_u, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(third.document().text(), firstText);
    EXPECT_EQ(readFile(file), SMALL_LEVEL);

    // A copy an older editor left beside the file is offered as well.
    scratch.write("levels/g.txt", SMALL_LEVEL);
    scratch.write("levels/g.txt.unsaved", SMALL_LEVEL + "Crate(8, 8)\n");
    Editor& older = open("levels/g.txt");
    pushKey(SDLK_u, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(older.document().text(), SMALL_LEVEL + "Crate(8, 8)\n");
}

TEST_F(EditorTest, TheAutosaveWritesTheRecoveryCopyNeverTheFile) {
    const std::string file = scratch.write("levels/auto.txt", SMALL_LEVEL);
    Editor& ed = open("levels/auto.txt");
    placeCrate(300, 300);
    ASSERT_TRUE(run());
    EXPECT_TRUE(recoveryCopies().empty()) << "written at once, not after a pause";
    // Due a couple of seconds after the edit; handling events writes it once it is.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ed.recovery().kept().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(run());
    }
    ASSERT_FALSE(ed.recovery().kept().empty()) << "no autosave within 10 s";
    EXPECT_EQ(readFile(ed.recovery().kept()), ed.document().text());
    EXPECT_EQ(readFile(file), SMALL_LEVEL);
    // Undone back to the file as it is: nothing is left to recover.
    pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_TRUE(ed.keepRecoveryCopy());
    EXPECT_TRUE(recoveryCopies().empty());
}

TEST_F(EditorTest, AQuitThatNoCopyCanKeepIsRefusedOnceWithTheReasonInTheWindow) {
    scratch.write("levels/full.txt", SMALL_LEVEL);
    Editor& ed = open("levels/full.txt");
    placeCrate(400, 300);
    ASSERT_TRUE(run());
    // A full disk, as far as this child can tell: no file may grow past 16 bytes.
    const int status = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {16, 16};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0)
            return 3;
        pushKey(SDLK_q, KMOD_LCTRL);
        if (!run() || ed.message().find("cannot be kept anywhere") == std::string::npos ||
            ed.message().find("File too large") == std::string::npos)
            return 4;
        push(SDL_Event{SDL_QUIT});  // the second request closes, and says what is lost
        if (run() || ed.farewell().find("are lost") == std::string::npos)
            return 5;
        return 0;
    });
    EXPECT_EQ(status, 0);
    // With room again, the same quit keeps the edits at once.
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    EXPECT_EQ(recoveryCopies().size(), 1u);
}

TEST_F(EditorTest, WithoutTheStateFolderTheCopyGoesBesideTheFile) {
    // A state folder under a plain file can never be made.
    const std::string blocker = scratch.write("not-a-folder", "");
    setenv("XDG_STATE_HOME", (blocker + "/state").c_str(), 1);
    scratch.write("levels/beside.txt", SMALL_LEVEL);
    Editor& ed = open("levels/beside.txt");
    placeCrate(400, 300);
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    const std::string kept = ed.recovery().kept();
    EXPECT_EQ(std::filesystem::path(kept).parent_path(), scratch.path() + "/levels");
    EXPECT_EQ(readFile(kept), ed.document().text());
    EXPECT_NE(open("levels/beside.txt").message().find("Ctrl+U"), std::string::npos);
}

TEST_F(EditorTest, ANewFileInAMissingFolderIsWarnedAboutAndSavedElsewhere) {
    Editor& ed = open("nodir/sub/new.txt");
    EXPECT_NE(ed.message().find("the folder " + scratch.path() + "/nodir/sub does not exist"),
              std::string::npos)
        << ed.message();
    placeCrate(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Not saved"), std::string::npos) << ed.message();
    EXPECT_NE(ed.message().find("Ctrl+Shift+S saves elsewhere"), std::string::npos);
    // A failed save puts the edits in a recovery copy at once.
    ASSERT_FALSE(ed.recovery().kept().empty());
    EXPECT_EQ(readFile(ed.recovery().kept()), ed.document().text());

    pushKey(SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
    pushKey(SDLK_BACKSPACE);  // the prompt starts with the old path selected
    typeText("levels/rescued.txt");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.message(), "Saved as levels/rescued.txt: Ctrl+S now writes this file");
    EXPECT_EQ(readFile("levels/rescued.txt"), ed.document().text());
    EXPECT_FALSE(ed.modified());
    EXPECT_TRUE(recoveryCopies().empty());
    EXPECT_FALSE(std::filesystem::exists("nodir"));
}

TEST_F(EditorTest, OpenAndNewAskForAPathAndKeepTheEditsLeftBehind) {
    scratch.write("levels/a.txt", SMALL_LEVEL);
    scratch.write("levels/b.txt", SMALL_LEVEL + "Crate(100, 100)\n");
    Editor& ed = open("levels/a.txt");
    placeCrate(700, 300);
    pushKey(SDLK_o, KMOD_LCTRL);
    typeText("levels/b.txt");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.path(), scratch.path() + "/levels/b.txt");
    EXPECT_EQ(ed.document().text(), SMALL_LEVEL + "Crate(100, 100)\n");
    EXPECT_NE(ed.message().find("unsaved edits of levels/a.txt are kept"), std::string::npos)
        << ed.message();
    EXPECT_EQ(recoveryCopies().size(), 1u);

    // New refuses a name that exists, and warns once before a folder that does not.
    pushKey(SDLK_n, KMOD_LCTRL);
    typeText("levels/a.txt");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("exists: Ctrl+O opens it"), std::string::npos) << ed.message();
    pushKey(SDLK_n, KMOD_LCTRL);
    typeText("gone/c.txt");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.path(), scratch.path() + "/levels/b.txt") << "opened without a warning";
    pushKey(SDLK_RETURN);  // the prompt asks again with the path: Return confirms
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.path(), scratch.path() + "/gone/c.txt");
    EXPECT_EQ(ed.document().text(), LevelDocument::newLevel().text());

    // Back to a.txt: its kept edits are offered.
    pushKey(SDLK_o, KMOD_LCTRL);
    typeText("levels/a.txt");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Ctrl+U loads them"), std::string::npos) << ed.message();
}

TEST_F(EditorTest, AFileChangedOnDiskIsWrittenOverOnlyOnASecondSave) {
    const std::string file = scratch.write("levels/ext.txt", SMALL_LEVEL);
    Editor& ed = open("levels/ext.txt");
    scratch.write("levels/ext.txt", SMALL_LEVEL + "Crate(100, 100)\n");
    placeCrate(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("changed on disk"), std::string::npos) << ed.message();
    EXPECT_NE(ed.message().find("Ctrl+L"), std::string::npos);
    EXPECT_EQ(readFile(file), SMALL_LEVEL + "Crate(100, 100)\n");

    // Ctrl+L loads what is on disk, as an edit that Ctrl+Z takes back.
    const std::string mine = ed.document().text();
    pushKey(SDLK_l, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().text(), SMALL_LEVEL + "Crate(100, 100)\n");
    EXPECT_FALSE(ed.modified());
    pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().text(), mine);

    // Changed again meanwhile: the window says so as it gets the focus back.
    scratch.write("levels/ext.txt", SMALL_LEVEL + "Crate(200, 100)\n");
    SDL_Event focus = {};
    focus.type = SDL_ACTIVEEVENT;
    focus.active.gain = 1;
    focus.active.state = SDL_APPINPUTFOCUS;
    push(focus);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("changed on disk while the editor was away"), std::string::npos)
        << ed.message();
    pushKey(SDLK_s, KMOD_LCTRL);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(readFile(file), mine) << "the second Ctrl+S writes over it";

    // A file merely touched is no change; one written by a second editor is.
    std::filesystem::last_write_time(
        file, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    placeCrate(100, 500);
    ASSERT_TRUE(run());
    EXPECT_TRUE(ed.save());
    Editor other(file, "levels/ext.txt", *lettering, scratch.path());
    std::string error;
    ASSERT_TRUE(other.open(error));
    placeCrate(800, 500);
    ASSERT_TRUE(other.handlePending());
    ASSERT_TRUE(other.save());
    EXPECT_FALSE(ed.save()) << "the first editor would write over the second";
}

TEST_F(EditorTest, ADanglingLinkSavesToItsTargetAndStaysALink) {
    std::filesystem::create_directories("real");
    std::filesystem::create_symlink("../real/nothere.txt", "levels/d.txt");
    Editor& ed = open("levels/d.txt");
    EXPECT_NE(ed.message().find("which does not exist yet: Ctrl+S makes it there"),
              std::string::npos)
        << ed.message();
    placeCrate(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_FALSE(ed.modified()) << ed.message();
    EXPECT_TRUE(std::filesystem::is_symlink("levels/d.txt"));
    EXPECT_EQ(std::filesystem::read_symlink("levels/d.txt"), "../real/nothere.txt");
    EXPECT_EQ(readFile("real/nothere.txt"), ed.document().text());

    // A link into a folder that does not exist is refused, the link left as it was.
    std::filesystem::create_symlink("../nowhere/x.txt", "levels/e.txt");
    Editor& refused = open("levels/e.txt");
    placeCrate(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_NE(refused.message().find("Not saved: cannot create a file in"), std::string::npos)
        << refused.message();
    EXPECT_TRUE(std::filesystem::is_symlink("levels/e.txt"));
    EXPECT_FALSE(std::filesystem::exists("nowhere"));

    // A loop of links is a message, not a hang.
    std::filesystem::create_symlink("loop2.txt", "levels/loop1.txt");
    std::filesystem::create_symlink("loop1.txt", "levels/loop2.txt");
    std::string error;
    EXPECT_FALSE(writeFileAtomically("levels/loop1.txt", "x", error));
    EXPECT_NE(error.find("loop of symbolic links"), std::string::npos) << error;
}

TEST_F(EditorTest, ASaveKeepsTheOwnerGroupAndModeAndSaysWhatHardLinksKeep) {
    const std::string file = scratch.write("levels/theirs.txt", SMALL_LEVEL);
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const bool root = getuid() == 0;
    if (root) {
        ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(link(file.c_str(), (scratch.path() + "/levels/other-name.txt").c_str()), 0);

    Editor& ed = open("levels/theirs.txt");
    EXPECT_NE(ed.message().find("has 1 other name(s) (hard links)"), std::string::npos)
        << ed.message();
    placeCrate(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("other name(s) (hard links) keep the level as it was"),
              std::string::npos)
        << ed.message();
    struct stat saved;
    ASSERT_EQ(stat(file.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(saved.st_uid, 65534u) << "saving as root gave the file to root";
        EXPECT_EQ(saved.st_gid, 65534u);
    }
    EXPECT_EQ(readFile(scratch.path() + "/levels/other-name.txt"), SMALL_LEVEL);
    EXPECT_EQ(readFile(file), ed.document().text());
    if (!root)
        GTEST_SKIP() << "the owner is checked only where the tests run as root";
}

TEST_F(EditorTest, UndoOfALargeFileKeepsDifferencesNotCopies) {
    // A level padded with notes to five megabytes.
    std::string big = "Big\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(500, 300)\n";
    while (big.size() < (size_t(5) << 20))
        big += "# a note that the game skips, kept as it was, line " + std::to_string(big.size()) +
               "\n";
    scratch.write("levels/big.txt", big);
    Editor& ed = open("levels/big.txt");
    click(512, 312);
    for (int i = 0; i < 30; ++i)
        pushKey(i % 2 ? SDLK_LEFT : SDLK_DOWN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(3).text, "Crate(380, 420)");
    EXPECT_EQ(ed.undoHistory().undoable(), 30u);
    EXPECT_LT(ed.undoHistory().bytes(), size_t(30) << 10) << "the nudges kept whole copies";
    for (int i = 0; i < 30; ++i)
        pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().text(), big);
    EXPECT_FALSE(ed.modified());
}

TEST_F(EditorTest, AFullUndoHistoryLetsTheOldestEditsGoAndSaysSo) {
    EditHistory history(4000);
    LevelDocument doc = LevelDocument::fromText(SMALL_LEVEL);
    const std::string original = doc.text();
    bool forgot = false;
    size_t made = 0;
    for (int i = 0; i < 40 && !forgot; ++i, ++made) {
        LevelDocument next = doc;
        LevelObject crate;
        crate.kind = RecordKind::Crate;
        crate.at = {i * 8, 0};
        next.add(crate);
        forgot = history.edited(doc, next);
        doc = next;
    }
    ASSERT_TRUE(forgot) << "the budget was never reached";
    EXPECT_LE(history.bytes(), 4000u);
    size_t undone = 0;
    while (history.undo(doc))
        ++undone;
    EXPECT_GT(undone, 0u);
    EXPECT_NE(doc.text(), original) << "the oldest edits should be gone";
    EXPECT_LT(undone, made);
    while (history.redo(doc)) {
    }
    EXPECT_EQ(doc.size(), 3 + made) << "redo brings back every edit kept";
}

}  // namespace
