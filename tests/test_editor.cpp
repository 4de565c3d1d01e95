// The level editor driven headless with real mouse and key events on SDL's queue: building a
// level with every tool, editing it, saving it so the game loads it back, never losing a file,
// and test-playing through the play screen.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "Enemy.h"
#include "Level.h"
#include "audio.h"
#include "editor.h"
#include "editorfixture.h"
#include "graphics.h"
#include "mixer.h"
#include "replayfile.h"
#include "replayrunner.h"
#include "userfiles.h"
#include "shapes.h"
#include "skarlume.h"
#include "testutil.h"
#include "userfiles.h"

namespace {

TEST_F(EditorTest, EveryKindOfObjectPlacedWithTheMouseLoadsBackAsBuilt) {
    Editor& ed = open("levels/level1.txt");
    pushKey(SDLK_1);
    click(500, 700);  // the ship's picture, 50x60, centred on the click and snapped to 8
    pushKey(SDLK_2);
    dragMouse({100, 100}, {300, 250});
    pushKey(SDLK_3);
    dragMouse({400, 104}, {403, 304});  // a little off vertical
    dragMouse({600, 96}, {800, 106});   // a little off horizontal
    dragMouse({200, 400}, {290, 500});  // roughly down and right: falling at 45 degrees
    dragMouse({904, 304}, {808, 400});  // down and left: rising
    click(700, 700);                    // a click without a drag makes no wall
    pushKey(SDLK_4);
    click(512, 384);
    pushKey(SDLK_5);  // the tool starts facing down; F turns it a quarter clockwise
    for (int x : {129, 225, 329, 425}) {
        click(x, 553);
        pushKey(SDLK_f);
    }
    pushKey(SDLK_6);
    for (int x : {529, 625, 729, 825}) {
        click(x, 201);
        pushKey(SDLK_f);
    }
    pushKey(SDLK_7);
    click(129, 553);  // the first forward shooter walks
    click(200, 650);
    click(300, 650);
    pushKey(SDLK_RETURN);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_FALSE(ed.modified()) << ed.message();

    EXPECT_EQ(loadedBack("levels/level1.txt"),
              "ship 472,672\n"
              "area 312,620 712,760\n"
              "area 104,104 304,248\n"
              "wall 0 400,104 400,304\n"
              "wall 90 600,96 800,96\n"
              "wall 135 200,400 296,496\n"
              "wall 45 904,304 808,400\n"
              "crate 488,360\n"
              "forward 104,528 180 walk 176,624 272,624\n"
              "forward 200,528 270 walk 200,528\n"
              "forward 304,528 0 walk 304,528\n"
              "forward 400,528 90 walk 400,528\n"
              "dual 504,176 180 walk 504,176\n"
              "dual 600,176 270 walk 600,176\n"
              "dual 704,176 0 walk 704,176\n"
              "dual 800,176 90 walk 800,176\n");
    // Plain ASCII lines with LF ends, the name line first.
    const std::string text = readFile("levels/level1.txt");
    EXPECT_EQ(text.rfind("New level\n", 0), 0u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    for (char c : text)
        EXPECT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << int(c);
}

TEST_F(EditorTest, MovingDeletingTurningAndReshapingUndoAndRedoStepByStep) {
    const std::string original =
        "Edit me\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(100, 100)\n"
        "EnemyDual(300, 100)LEFT\nWall(500, 100) (600, 200)\n";
    scratch.write("levels/level2.txt", original);
    Editor& ed = open("levels/level2.txt");
    std::vector<std::string> states = {ed.document().text()};
    auto step = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(run());
        states.push_back(ed.document().text());
        EXPECT_NE(states.back(), states[states.size() - 2]) << ed.message();
    };
    auto lineOf = [&](size_t index) { return ed.document().line(index).text; };

    dragMouse({125, 125}, {169, 145});  // by (44, 20): the corner snaps to (144, 120)
    step("move the crate");
    EXPECT_EQ(lineOf(3), "Crate(144, 120)");
    pushKey(SDLK_RIGHT);
    step("nudge it a grid step");
    EXPECT_EQ(lineOf(3), "Crate(152, 120)");

    click(325, 125, SDL_BUTTON_RIGHT);
    step("turn the shooter with the right button");
    EXPECT_EQ(lineOf(4), "EnemyDual(300, 100)UP");
    click(325, 125);
    pushKey(SDLK_f);
    step("turn the selected shooter with F");
    EXPECT_EQ(lineOf(4), "EnemyDual(300, 100)RIGHT");

    click(550, 150);  // on the wall's line: selects it
    dragMouse({600, 200}, {650, 260});
    step("drag the wall's lower end");
    EXPECT_EQ(lineOf(5), "Wall(500, 100) (652, 252)");  // still exactly 45 degrees
    pushKey(SDLK_DELETE);
    step("delete the wall");
    EXPECT_EQ(ed.document().size(), 5u);
    EXPECT_FALSE(ed.selection());

    // Undo walks back through every state to the file as read, redo forward again.
    for (size_t i = states.size() - 1; i-- > 0;) {
        pushKey(SDLK_z, KMOD_LCTRL);
        ASSERT_TRUE(run());
        EXPECT_EQ(ed.document().text(), states[i]) << "undo to state " << i;
    }
    EXPECT_EQ(ed.document().text(), original);
    EXPECT_FALSE(ed.modified());
    for (size_t i = 1; i < states.size(); ++i) {
        pushKey(i % 2 ? SDLK_y : SDLK_z, i % 2 ? KMOD_LCTRL : KMOD_LCTRL | KMOD_LSHIFT);
        ASSERT_TRUE(run());
        EXPECT_EQ(ed.document().text(), states[i]) << "redo to state " << i;
    }
    // A new edit after an undo drops what was undone.
    pushKey(SDLK_z, KMOD_LCTRL);
    pushKey(SDLK_4);
    click(900, 500);
    pushKey(SDLK_y, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().line(ed.document().size() - 1).text, "Crate(872, 472)");
}

TEST_F(EditorTest, TheNameLineIsEditedAndCannotBecomeARecord) {
    scratch.write("levels/level3.txt", "Ship(487, 680)\nCrate(1, 1)\n");
    Editor& ed = open("levels/level3.txt");
    pushKey(SDLK_n);
    for (char c : std::string("Big (hard)"))
        pushKey(SDLK_UNKNOWN, KMOD_NONE, Uint16(c));
    pushKey(SDLK_RETURN);
    ASSERT_TRUE(run());
    // No "(": the name could otherwise be read as a record. It goes before every record.
    EXPECT_EQ(ed.document().text(), "Big hard)\nShip(487, 680)\nCrate(1, 1)\n");
    pushKey(SDLK_n);
    pushKey(SDLK_BACKSPACE);
    pushKey(SDLK_ESCAPE);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().name(), "Big hard)");
}

TEST_F(EditorTest, FindingsAreListedAndTheirObjectsFramedAfterEveryEdit) {
    scratch.write("levels/level7.txt",
                  "Checked\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(500, 300)\n"
                  "Wall(100, 100) (200, 260)\n");
    Editor& ed = open("levels/level7.txt");
    ASSERT_EQ(ed.findings().size(), 1u);
    EXPECT_EQ(ed.findings()[0].line, 5);
    EXPECT_NE(ed.findings()[0].text.find("45 degrees"), std::string::npos);
    const Uint16 problem = rgb(INK_COLOURS[int(Ink::Problem)][0], INK_COLOURS[int(Ink::Problem)][1],
                               INK_COLOURS[int(Ink::Problem)][2]);
    // The bad wall's box is framed two pixels outside it.
    EXPECT_EQ(pixelAt(98, 180), problem);

    pushKey(SDLK_4);
    click(1010, 384);  // a crate hanging off the right edge
    ASSERT_TRUE(run());
    ASSERT_EQ(ed.findings().size(), 2u);
    EXPECT_EQ(ed.findings()[1].line, 6);
    EXPECT_NE(ed.findings()[1].text.find("off the field"), std::string::npos);
    EXPECT_EQ(pixelAt(982, 380), problem);
    EXPECT_NE(pixelAt(982, 200), problem);

    pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.findings().size(), 1u);
    EXPECT_NE(pixelAt(982, 380), problem);
}

TEST_F(EditorTest, AByteOrderMarkIsTakenOffAsAnEditAndALinkStaysALink) {
    const std::string plain = "Crate(500, 300)\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";
    const std::string file = scratch.write("levels/level8.txt", "\xEF\xBB\xBF" + plain);
    std::filesystem::create_symlink(file, "linked.txt");
    Editor& ed = open("linked.txt");
    EXPECT_NE(ed.message().find("byte-order mark"), std::string::npos) << ed.message();
    EXPECT_EQ(ed.document().text(), plain);
    ASSERT_NE(ed.document().object(0), nullptr) << "the crate is a record again";
    EXPECT_TRUE(ed.modified());
    pushKey(SDLK_z, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.document().text(), "\xEF\xBB\xBF" + plain);
    pushKey(SDLK_y, KMOD_LCTRL);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_TRUE(std::filesystem::is_symlink("linked.txt"));
    EXPECT_EQ(readFile(file), plain);
}

TEST_F(EditorTest, WallEndsSnapToTheNearestOfTheFourKinds) {
    EXPECT_EQ(wallEnd({100, 100}, {300, 182}, 1).y, 100);       // 22 degrees: still horizontal
    const point diagonal = wallEnd({100, 100}, {300, 184}, 1);  // 23 degrees: diagonal
    EXPECT_EQ(diagonal.x - 100, diagonal.y - 100);
    const point up = wallEnd({100, 100}, {90, -200}, 8);
    EXPECT_EQ(up.x, 100);
    EXPECT_EQ(up.y, -196);  // 300 up, to the nearest 8
    const point rising = wallEnd({400, 400}, {310, 497}, 8);
    EXPECT_EQ(rising.x, 304);
    EXPECT_EQ(rising.y, 496);
    EXPECT_EQ(snap(-4, 8), 0);
    EXPECT_EQ(snap(-5, 8), -8);
}

TEST_F(EditorTest, EveryShippedLevelSavedWithoutAnEditLoadsAndPlaysTheSame) {
    std::filesystem::copy(home / "solutions", "solutions");
    for (int number = 1; number <= LEVEL_COUNT; ++number) {
        SCOPED_TRACE("level " + std::to_string(number));
        const std::string file = "levels/level" + std::to_string(number) + ".txt";
        const std::string shipped = readFile((home / file).string());
        scratch.write(file, shipped);
        open(file);
        ASSERT_TRUE(editor->save()) << editor->message();
        EXPECT_EQ(readFile(file), shipped);
        EXPECT_EQ(loadedBack(file), loadedBack((home / file).string()));

        // The replay, frame by frame: the shipped file and the saved one.
        Replay replay;
        std::string error;
        ASSERT_TRUE(loadReplay("solutions/level" + std::to_string(number) + ".txt", replay, error))
            << error;
        auto frames = [&](const std::filesystem::path& directory) {
            std::vector<std::string> log;
            std::filesystem::current_path(directory);
            playReplay(replay, 0,
                       [&log](int) { log.push_back(describeLevel(*getCurrentLevel())); });
            std::filesystem::current_path(scratch.path());
            return log;
        };
        const std::vector<std::string> saved = frames(scratch.path()), original = frames(home);
        ASSERT_FALSE(saved.empty());
        EXPECT_TRUE(saved == original) << "the saved level plays differently";
    }
}

TEST_F(EditorTest, LinesNotEditedKeepTheirBytesAndTheirLineEnds) {
    // CR LF ends, a stray byte, a lone CR inside a comment, and no line feed after the last.
    const std::string crlf =
        "Two line ends\r\n# odd \x01 bytes\r kept\r\nShip(487, 680)\r\n"
        "ShipArea(312, 620) (712, 760)\r\nCrate(487, 160)";
    scratch.write("levels/level4.txt", crlf);
    const std::string before = loadedBack("levels/level4.txt");
    Editor& ed = open("levels/level4.txt");
    EXPECT_NE(ed.message().find("Line ends are CR LF: kept"), std::string::npos) << ed.message();
    EXPECT_NE(ed.message().find("The last line has no line end"), std::string::npos);
    ASSERT_TRUE(ed.save());
    EXPECT_EQ(readFile("levels/level4.txt"), crlf) << "a save without an edit changes nothing";
    EXPECT_EQ(loadedBack("levels/level4.txt"), before);

    // A crate added: the old last line gets the file's own line end, and so does the new one.
    pushKey(SDLK_4);
    click(512, 384);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(readFile("levels/level4.txt"), crlf + "\r\nCrate(488, 360)\r\n");
    // An edited line keeps its own end too.
    pushKey(SDLK_s);
    click(500, 170);
    pushKey(SDLK_RIGHT);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(readFile("levels/level4.txt"),
              "Two line ends\r\n# odd \x01 bytes\r kept\r\nShip(487, 680)\r\n"
              "ShipArea(312, 620) (712, 760)\r\nCrate(495, 160)\r\nCrate(488, 360)\r\n");

    scratch.write("levels/level9.txt", "Mixed\r\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n");
    EXPECT_NE(open("levels/level9.txt").message().find("mixed (1 CR LF, 2 LF)"), std::string::npos)
        << editor->message();
}

TEST_F(EditorTest, FilesThatAreNoLevelsOpenWithAWarningAndKeepTheirBytes) {
    const std::string binary = std::string("Ship(487, 680)\n\0\x7f\x80\xff\n", 20) + "tail";
    scratch.write("levels/binary.txt", binary);
    Editor& ed = open("levels/binary.txt");
    EXPECT_NE(ed.message().find("holds NUL bytes"), std::string::npos) << ed.message();
    ASSERT_TRUE(ed.save());
    EXPECT_EQ(readFile("levels/binary.txt"), binary);

    std::string prose = "Notes on a level I have not made yet\n";
    for (int i = 0; i < 30; ++i)
        prose += "a line of plain prose, number " + std::to_string(i) + "\n";
    scratch.write("levels/notes.txt", prose + "Crate(1, 1)\n");
    EXPECT_NE(open("levels/notes.txt").message().find("hardly looks like a level: 1 of its 32"),
              std::string::npos)
        << editor->message();
    // A real level, comments and blank lines included, opens without a warning.
    scratch.write("levels/level2.txt",
                  readFile((home / "levels/level2.txt").string()) + "\n\n# end\n");
    EXPECT_EQ(open("levels/level2.txt").message(), "Opened levels/level2.txt");
}

TEST_F(EditorTest, SavesThatCannotBeMadeSayWhyAndLeaveTheFileWhole) {
    const std::string original = "Kept whole\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";
    const std::string file = scratch.write("levels/level5.txt", original);
    std::filesystem::permissions(scratch.path() + "/levels", std::filesystem::perms(0755));
    std::filesystem::permissions(scratch.path(), std::filesystem::perms(0755));
    Editor& ed = open("levels/level5.txt");
    pushKey(SDLK_4);
    click(512, 384);
    ASSERT_TRUE(run());
    ASSERT_TRUE(ed.modified());
    // Messages come back through a pipe: the child's own output would be lost in the suite's.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    auto reportFromChild = [&] {
        const std::string said = ed.message();
        (void)!write(pipeEnds[1], said.data(), said.size());
        (void)!write(pipeEnds[1], "\n", 1);
    };

    // A directory the user may not write in. Root writes anywhere, so the child becomes nobody.
    const int readOnly = inChild([&] {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 3;
        const bool saved = ed.save();
        reportFromChild();
        return saved ? 1 : 0;
    });
    // A full disk: the file may grow no larger than 16 bytes.
    const int full = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {16, 16};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0)
            return 3;
        const bool saved = ed.save();
        reportFromChild();
        return saved ? 1 : 0;
    });
    close(pipeEnds[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, size_t(n));
    close(pipeEnds[0]);

    EXPECT_EQ(readOnly, 0) << said;
    EXPECT_EQ(full, 0) << said;
    EXPECT_NE(said.find("Not saved: cannot create a file in"), std::string::npos) << said;
    EXPECT_NE(said.find("Permission denied"), std::string::npos) << said;
    EXPECT_NE(said.find("Not saved: cannot write"), std::string::npos) << said;
    EXPECT_NE(said.find("File too large"), std::string::npos) << said;
    EXPECT_EQ(readFile(file), original);
    EXPECT_EQ(filesIn(scratch.path() + "/levels"), std::vector<std::string>{"level5.txt"});
}

TEST_F(EditorTest, ClosingWithUnsavedEditsKeepsThemAndTheNextOpenOffersThem) {
    const std::string original = "Keep me\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n";
    const std::string file = scratch.write("levels/level6.txt", original);
    open("levels/level6.txt");
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    EXPECT_EQ(editor->farewell(), "") << "nothing to keep without an edit";
    EXPECT_TRUE(recoveryCopies().empty());

    Editor& ed = open("levels/level6.txt");
    pushKey(SDLK_4);
    click(512, 384);
    push(SDL_Event{SDL_QUIT});
    EXPECT_FALSE(run());
    const std::string edited = ed.document().text();
    const std::string kept = ed.recovery().kept();
    EXPECT_EQ(kept.rfind(stateDirectory() + "/recovery/", 0), 0u) << kept;
    EXPECT_EQ(ed.farewell().rfind("editor: unsaved edits written to " + kept, 0), 0u)
        << ed.farewell();
    EXPECT_EQ(readFile(kept), edited);
    EXPECT_EQ(readFile(file), original);
    EXPECT_EQ(filesIn(scratch.path() + "/levels"), std::vector<std::string>{"level6.txt"});

    Editor& again = open("levels/level6.txt");
    EXPECT_NE(again.message().find("Ctrl+U"), std::string::npos) << again.message();
    EXPECT_EQ(again.document().text(), original);
    pushKey(SDLK_u, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(again.document().text(), edited);
    pushKey(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(run());
    EXPECT_EQ(readFile(file), edited);
    EXPECT_TRUE(recoveryCopies().empty()) << "saved, so nothing to offer";
}

// The replay being fed to a test-play: before each frame runs, its events are on the queue.
const Replay* feeding = nullptr;
size_t fed = 0;
int framesSeen = 0;

void pushEventsOfFrame(int frame) {
    for (; fed < feeding->events.size() && feeding->events[fed].frame == frame; ++fed) {
        SDL_Event event = {};
        event.type = feeding->events[fed].press ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = feeding->events[fed].key;
        SDL_PushEvent(&event);
    }
}

void feedNextFrame(int frame, const SDL_Event* event) {
    if (event != nullptr)
        return;
    framesSeen = frame;
    pushEventsOfFrame(frame + 1);
}

TEST_F(EditorTest, TestPlayWinsOnTheReplaysFrameLeavesTheLevelAndKeepsTheReplay) {
    const std::string shipped = readFile((home / "levels/level1.txt").string());
    scratch.write("levels/level1.txt", shipped);
    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay((home / "solutions/level1.txt").string(), replay, error)) << error;
    const ReplayOutcome expected = playReplay(replay);
    ASSERT_EQ(expected.state, STATE_LEVEL_WON);

    Editor& ed = open("levels/level1.txt");
    ed.setTestPlayWatcher(feedNextFrame);
    pushKey(SDLK_h);  // the level alone, as the player sees it
    ASSERT_TRUE(run());
    const std::vector<Uint16> before = screenPixels();
    feeding = &replay;
    fed = 0;
    pushKey(SDLK_t);
    pushEventsOfFrame(1);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(run());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ed.message(), "Test-play won at frame " + std::to_string(expected.frame) +
                                ": R keeps it as " + scratch.path() + "/solutions/level1.txt");
    EXPECT_EQ(framesSeen, expected.frame);
    EXPECT_EQ(lives, 4);
    // At 60 frames a second at most: no faster than the play screen itself.
    EXPECT_GE(std::chrono::duration<double>(elapsed).count(), (expected.frame - 1) / 60.0 - 0.05);
    EXPECT_EQ(ed.document().text(), shipped);
    EXPECT_FALSE(ed.modified());
    EXPECT_TRUE(screenPixels() == before) << "the editor does not show the level as before";

    // R keeps the keys as the level's replay; an existing replay is replaced only on a second R.
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    const std::string kept = scratch.path() + "/solutions/level1.txt";
    Replay written;
    ASSERT_TRUE(loadReplay(kept, written, error)) << ed.message();
    EXPECT_EQ(written.level, 1);
    ASSERT_EQ(written.events.size(), replay.events.size());
    for (size_t i = 0; i < replay.events.size(); ++i) {
        EXPECT_EQ(written.events[i].frame, replay.events[i].frame);
        EXPECT_EQ(written.events[i].key, replay.events[i].key);
        EXPECT_EQ(written.events[i].press, replay.events[i].press);
    }
    scratch.write("solutions/level1.txt", "level 1\n");
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("press R again"), std::string::npos) << ed.message();
    EXPECT_EQ(readFile(kept), "level 1\n");
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    ASSERT_TRUE(loadReplay(kept, written, error));
    EXPECT_EQ(written.events.size(), replay.events.size());
}

// What a test-play sends to the game's mixer, a frame's samples after every frame; Escape
// ends it after frame 20.
std::vector<int16_t> testPlayHeard;
void hearFrame(int frame, const SDL_Event* event) {
    if (event != nullptr)
        return;
    constexpr size_t SAMPLES_PER_FRAME = SOUND_RATE / 60;
    testPlayHeard.resize(testPlayHeard.size() + SAMPLES_PER_FRAME);
    gameMixer().mix(testPlayHeard.data() + testPlayHeard.size() - SAMPLES_PER_FRAME,
                    SAMPLES_PER_FRAME);
    if (frame == 20) {
        SDL_Event escape = {};
        escape.type = SDL_KEYDOWN;
        escape.key.keysym.sym = SDLK_ESCAPE;
        SDL_PushEvent(&escape);
    }
}

TEST_F(EditorTest, ATestPlaySoundsAsTheGameDoes) {
    scratch.write("levels/level4.txt", readFile((home / "levels/level4.txt").string()));
    std::filesystem::current_path(home);
    std::string error;
    ASSERT_TRUE(loadSound(gameMixer(), SOUND_PLAYER_SHOT, error)) << error;
    std::filesystem::current_path(scratch.path());
    Editor& ed = open("levels/level4.txt");
    ed.setTestPlayWatcher(hearFrame);
    testPlayHeard.clear();
    pushKey(SDLK_t);
    pushKey(SDLK_SPACE);
    ASSERT_TRUE(run());
    gameMixer().clear();
    ASSERT_EQ(testPlayHeard.size(), 20u * SOUND_RATE / 60);
    // The shot of the first frame is heard from the first frame's samples on.
    const auto heard = std::find_if(testPlayHeard.begin(), testPlayHeard.end(),
                                    [](int16_t sample) { return sample != 0; });
    ASSERT_NE(heard, testPlayHeard.end()) << "the test-play was silent";
    EXPECT_LT(heard - testPlayHeard.begin(), AUDIO_BUFFER_SAMPLES);
}

TEST_F(EditorTest, ALostTestPlayCostsNoLifeAndUnsavedEditsKeepNoReplay) {
    scratch.write("levels/level4.txt", readFile((home / "levels/level4.txt").string()));
    Editor& ed = open("levels/level4.txt");
    // On level 4 a shot fired from the start comes straight back at the ship.
    pushKey(SDLK_t);
    pushKey(SDLK_SPACE);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.message().rfind("Test-play lost at frame", 0), 0u) << ed.message();
    EXPECT_EQ(lives, 4);
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Win a test-play first"), std::string::npos) << ed.message();

    // An empty level is won at once; as it is not the saved file, it keeps no replay.
    for (size_t i = ed.document().size(); i-- > 0;)
        if (ed.document().object(i) != nullptr &&
            ed.document().object(i)->kind != RecordKind::Ship &&
            ed.document().object(i)->kind != RecordKind::ShipArea) {
            const Box box = boxOf(*ed.document().object(i));
            click(box.x + box.w / 2, box.y + box.h / 2);
            pushKey(SDLK_DELETE);
            ASSERT_TRUE(run());
        }
    pushKey(SDLK_t);
    ASSERT_TRUE(run());
    EXPECT_EQ(ed.message().rfind("Test-play won at frame 1", 0), 0u) << ed.message();
    pushKey(SDLK_r);
    ASSERT_TRUE(run());
    EXPECT_NE(ed.message().find("Save the level first"), std::string::npos) << ed.message();
    EXPECT_FALSE(std::filesystem::exists("solutions/level4.txt"));
}

TEST_F(EditorTest, AMissingOrWrongGlyphSheetIsAClearMessage) {
    Lettering sheet;
    std::string error;
    EXPECT_FALSE(sheet.load("images/no-such-sheet.bmp", error));
    EXPECT_NE(error.find("cannot load the editor's lettering images/no-such-sheet.bmp"),
              std::string::npos)
        << error;
    EXPECT_FALSE(sheet.load((home / "images/Crate.bmp").string().c_str(), error));
    EXPECT_NE(error.find("is not the editor's glyph sheet"), std::string::npos) << error;
    sheet.draw(10, 10, "nothing to draw with");  // and drawing without a sheet is harmless
}

}  // namespace
