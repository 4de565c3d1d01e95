// A designer's workflow in the editor: the findings list, picking objects off the field, the
// selection's line and position, its place in the file, several objects at once, the name
// prompt, and a word on the status line for every key or click that does nothing.
#include <gtest/gtest.h>

#include "editorfixture.h"
#include "graphics.h"
#include "prompt.h"
#include "replayrunner.h"
#include "view.h"

namespace {

const std::string LEVEL =
    "Workflow\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n"
    "Crate(100, 100)\nCrate(200, 100)\nWall(400, 100) (400, 300)\n"
    "Crate(2000, 100)\nEnemyForward(600, 100)DOWN\n";

TEST_F(EditorTest, TabReachesObjectsOffTheFieldAndTheirPositionCanBeTyped) {
    scratch.write("levels/level1.txt", LEVEL);
    Editor& ed = open("levels/level1.txt");
    std::vector<size_t> visited;
    for (int i = 0; i < 7; ++i) {
        pushKey(SDLK_TAB);
        ASSERT_TRUE(run());
        visited.push_back(*ed.selection());
    }
    // Every record line in file order, the crate far off the field among them, then round.
    EXPECT_EQ(visited, (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7}));
    pushKey(SDLK_TAB);
    pushKey(SDLK_TAB, KMOD_LSHIFT);
    pushKey(SDLK_TAB, KMOD_LSHIFT);
    ASSERT_TRUE(run());
    EXPECT_EQ(*ed.selection(), 6u);
    EXPECT_EQ(ed.document().line(6).text, "Crate(2000, 100)");

    pushKey(SDLK_p);
    typeText("480, 384");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(6).text, "Crate(480, 384)");
    EXPECT_NE(ed.message().find("Moved line 7 to (480, 384)"), std::string::npos) << ed.message();
    pushKey(SDLK_p);
    typeText("far");  // letters are refused as they are typed
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(6).text, "Crate(480, 384)");
    pushKey(SDLK_p);
    typeText("12");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("two whole numbers"), std::string::npos) << ed.message();
    EXPECT_EQ(ed.document().line(6).text, "Crate(480, 384)");
    // A wall moves whole, by its upper end.
    pushKey(SDLK_TAB, KMOD_LSHIFT);
    pushKey(SDLK_p);
    typeText("408 96");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(5).text, "Wall(408, 96) (408, 296)");
}

TEST_F(EditorTest, TheSelectionsLineTypeAndPositionAreShownAndItsPlaceInTheFileMoves) {
    scratch.write("levels/level1.txt", LEVEL);
    Editor& ed = open("levels/level1.txt");
    click(410, 200);  // on the wall
    ASSERT_TRUE(run());
    ASSERT_EQ(ed.selection(), std::optional<size_t>(5));
    // Drawn on the line under the status line, in the highlight ink.
    EXPECT_GT(countNot(rgb(0, 0, 0), 0, lettering->lineHeight(), 400, lettering->lineHeight()), 0);
    pushKey(SDLK_LEFTBRACKET);
    pushKey(SDLK_LEFTBRACKET);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(3).text, "Wall(400, 100) (400, 300)");
    EXPECT_EQ(ed.document().line(4).text, "Crate(100, 100)");
    EXPECT_EQ(ed.selection(), std::optional<size_t>(3));
    EXPECT_NE(ed.message().find("Now line 4"), std::string::npos) << ed.message();
    // The name stays first.
    pushKey(SDLK_LEFTBRACKET);
    pushKey(SDLK_LEFTBRACKET);
    pushKey(SDLK_LEFTBRACKET);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(0).text, "Workflow");
    EXPECT_EQ(ed.document().line(1).text, "Wall(400, 100) (400, 300)");
    EXPECT_NE(ed.message().find("is the level's name"), std::string::npos) << ed.message();
    pushKey(SDLK_RIGHTBRACKET);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(2).text, "Wall(400, 100) (400, 300)");
    pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(1).text, "Wall(400, 100) (400, 300)");
}

TEST_F(EditorTest, SeveralObjectsArePickedMovedCopiedPastedAndDeletedTogether) {
    scratch.write("levels/level1.txt", LEVEL);
    Editor& ed = open("levels/level1.txt");
    click(125, 125);
    SDL_SetModState(KMOD_LSHIFT);
    click(225, 125);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.selectedLines(), (std::vector<size_t>{3, 4}));
    click(125, 125);  // Shift+click again drops one
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.selectedLines(), (std::vector<size_t>{4}));
    SDL_SetModState(KMOD_NONE);

    // A box drawn on empty field picks what lies wholly inside it.
    dragMouse({80, 80}, {300, 170});
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.selectedLines(), (std::vector<size_t>{3, 4}));
    pushKey(SDLK_DOWN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(3).text, "Crate(100, 108)");
    EXPECT_EQ(ed.document().line(4).text, "Crate(200, 108)");
    dragMouse({125, 133}, {165, 173});  // dragging one drags both
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(3).text, "Crate(144, 152)");
    EXPECT_EQ(ed.document().line(4).text, "Crate(244, 152)");

    pushKey(SDLK_c, KMOD_LCTRL);
    pushMotion(600, 400);
    pushKey(SDLK_v, KMOD_LCTRL);
    ASSERT_TRUE(run());
    ASSERT_EQ(ed.document().size(), 10u);
    EXPECT_EQ(ed.document().line(8).text, "Crate(600, 400)");
    EXPECT_EQ(ed.document().line(9).text, "Crate(700, 400)");
    EXPECT_EQ(ed.selectedLines(), (std::vector<size_t>{8, 9}));
    pushKey(SDLK_d, KMOD_LCTRL);
    ASSERT_TRUE(run());
    ASSERT_EQ(ed.document().size(), 12u);
    EXPECT_EQ(ed.document().line(10).text, "Crate(616, 416)");
    EXPECT_EQ(ed.document().line(11).text, "Crate(716, 416)");
    pushKey(SDLK_DELETE);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().size(), 10u);
    EXPECT_TRUE(ed.selectedLines().empty());
}

TEST_F(EditorTest, TheFindingsListScrollsPicksItsObjectAndMovesOffTheBottom) {
    std::string level = "Crowded\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";
    for (int i = 0; i < 9; ++i)  // nine crates off the field: one finding each
        level += "Crate(" + std::to_string(1100 + 60 * i) + ", 100)\n";
    scratch.write("levels/level1.txt", level);
    Editor& ed = open("levels/level1.txt");
    ASSERT_EQ(ed.findings().size(), 9u);
    const int rowHeight = lettering->lineHeight();
    // The heading, then six findings: the last row holds the sixth.
    click(20, SCREEN_HEIGHT - rowHeight / 2);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.selection(), std::optional<size_t>(size_t(ed.findings()[5].line - 1)));
    EXPECT_NE(ed.message().find("Line " + std::to_string(ed.findings()[5].line)), std::string::npos)
        << ed.message();
    pushKey(SDLK_PAGEDOWN);
    click(20, SCREEN_HEIGHT - rowHeight / 2);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.selection(), std::optional<size_t>(size_t(ed.findings()[8].line - 1)));

    // Moved to the top, the list leaves the bottom of the field as the level draws it.
    pushKey(SDLK_g);  // no grid dots either
    pushKey(SDLK_h);
    ASSERT_TRUE(run());
    const std::vector<Uint16> plain = screenPixels();
    pushKey(SDLK_h);
    pushKey(SDLK_l);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.findingsPlace(), ListPlace::Top);
    const std::vector<Uint16> marked = screenPixels();
    const size_t pitch = size_t(game_screen->pitch / 2);
    size_t differing = 0;
    for (size_t y = SCREEN_HEIGHT - 8 * rowHeight; y < size_t(SCREEN_HEIGHT); ++y)
        for (size_t x = 0; x < 300; ++x)
            differing += plain[y * pitch + x] != marked[y * pitch + x] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "something still covers the bottom of the field";
    pushKey(SDLK_l);
    click(20, SCREEN_HEIGHT - rowHeight / 2);  // where the list was: the field's own
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.findingsPlace(), ListPlace::Hidden);
    EXPECT_FALSE(ed.selection());
}

TEST_F(EditorTest, TheNamePromptStartsSelectedAndRefusesWhatTheNameLineCannotHold) {
    scratch.write("levels/level1.txt", LEVEL);
    Editor& ed = open("levels/level1.txt");
    pushKey(SDLK_n);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Name: [Workflow]"), std::string::npos) << ed.message();
    typeText("Fresh");  // typing replaces the selected name
    typeText("(");
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Refused: a name cannot hold \"(\": the game would read the "
                                "line as a record"),
              std::string::npos)
        << ed.message();
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().name(), "Fresh");
    pushKey(SDLK_n);
    pushKey(SDLK_END);  // the name kept, to be added to
    typeText(" (two)");
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().name(), "Fresh two)");
    LinePrompt prompt;
    prompt.start("Name", "Old", nullptr);
    SDL_keysym key = {};
    key.unicode = 0x00e9;  // an accented letter
    prompt.key(key);
    EXPECT_NE(prompt.complaint().find("ASCII"), std::string::npos);
    EXPECT_EQ(prompt.text(), "Old");
    key.unicode = 'N';
    prompt.key(key);
    EXPECT_EQ(prompt.text(), "N");
}

TEST_F(EditorTest, EveryKeyOrClickThatDoesNothingSaysWhy) {
    scratch.write("levels/level1.txt", LEVEL);
    Editor& ed = open("levels/level1.txt");
    auto saysAfter = [&](auto action, const std::string& expected) {
        action();
        ASSERT_TRUE(run());
        EXPECT_NE(ed.message().find(expected), std::string::npos)
            << "expected \"" << expected << "\", said \"" << ed.message() << "\"";
    };
    saysAfter([] { pushKey(SDLK_DELETE); }, "Nothing is selected");
    saysAfter([] { pushKey(SDLK_f); }, "Nothing is selected");
    saysAfter([] { pushKey(SDLK_UP); }, "Nothing is selected");
    saysAfter([] { pushKey(SDLK_ESCAPE); }, "nothing is under way");
    saysAfter([] { pushKey(SDLK_k); }, "does nothing here: F1 lists the keys");
    saysAfter([] { pushKey(SDLK_k, KMOD_LCTRL); }, "Ctrl+");
    saysAfter([] { click(900, 600, SDL_BUTTON_RIGHT); }, "there is none under the mouse");
    saysAfter([] { pushKey(SDLK_RETURN); }, "none is under way");
    saysAfter([] { pushKey(SDLK_y, KMOD_LCTRL); }, "Nothing to redo");
    saysAfter([] { pushKey(SDLK_v, KMOD_LCTRL); }, "Nothing to paste");
    saysAfter(
        [] {
            click(125, 125);
            pushKey(SDLK_f);
        },
        "F turns shooters only: line 4 is a Crate");
    saysAfter(
        [] {
            pushKey(SDLK_3);
            dragMouse({700, 500}, {702, 503});
        },
        "Too short for a wall");
    saysAfter([] { click(700, 500); }, "A click makes no wall");
    saysAfter(
        [] {
            pushKey(SDLK_7);
            click(625, 125);
            click(700, 300);
            pushKey(SDLK_ESCAPE);
        },
        "The walk is dropped");
    EXPECT_EQ(ed.document().line(7).text, "EnemyForward(600, 100)DOWN");
    // A modifier pressed alone is no key of its own: it says nothing.
    ed.handle(SDL_Event{SDL_USEREVENT});
    const std::string before = ed.message();
    pushKey(SDLK_LSHIFT);
    pushKey(SDLK_RCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.message(), before);
}

void placeCrate(int x, int y) {
    pushKey(SDLK_4);
    click(x, y);
}

TEST_F(EditorTest, RAfterTheWonLevelChangedAsksForANewTestPlay) {
    scratch.write("levels/level3.txt", "Quick\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n");
    Editor& ed = open("levels/level3.txt");
    pushKey(SDLK_t);  // nothing to shoot: won at once
    ASSERT_TRUE(run());
    ASSERT_EQ(ed.message().rfind("Test-play won", 0), 0u) << ed.message();
    placeCrate(512, 300);
    pushKey(SDLK_s, KMOD_LCTRL);
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("changed since the test-play was won: win a new test-play"),
              std::string::npos)
        << ed.message();
    EXPECT_FALSE(std::filesystem::exists("solutions/level3.txt"));
}

// A file outside levels/ keeps its replay beside it, naming the level by file, so that the two
// can move together and the replay still plays it.
TEST_F(EditorTest, RKeepsTheReplayOfAnyFileBesideItNamingTheFile) {
    const std::string quick = "Quick\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";
    scratch.write("own/quick.txt", quick);
    Editor& ed = open("own/quick.txt");
    pushKey(SDLK_t);
    ASSERT_TRUE(run());
    const std::string kept = scratch.path() + "/own/quick.replay";
    EXPECT_EQ(ed.message(), "Test-play won at frame 1: R keeps it as " + kept);
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.message(), "Kept the replay in " + kept + " (won at frame 1)");
    EXPECT_EQ(readFile(kept).substr(0, 22), "level quick.txt\nship 1");

    // Moved together elsewhere, the replay plays the moved file.
    std::filesystem::create_directories(scratch.path() + "/moved");
    std::filesystem::rename(kept, scratch.path() + "/moved/quick.replay");
    scratch.write("moved/quick.txt", quick);
    std::filesystem::remove(scratch.path() + "/own/quick.txt");
    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay(scratch.path() + "/moved/quick.replay", replay, error)) << error;
    EXPECT_EQ(replay.levelFile, scratch.path() + "/moved/quick.txt");
    EXPECT_EQ(playReplay(replay).state, STATE_LEVEL_WON);
}

}  // namespace
