// The game's sound: the mixer's voices, limits, volume and silence; the effects' files as the
// build makes them; what the rules report in each frame; and real levels played into the mixer,
// where each effect must start with its frame and nothing may clip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Level.h"
#include "audio.h"
#include "headless.h"
#include "input.h"
#include "levelfixture.h"
#include "mixer.h"
#include "replayfile.h"
#include "replayrunner.h"
#include "settings.h"
#include "skarlume.h"
#include "sounds.h"
#include "testutil.h"
#include "userfiles.h"

namespace {

// What one frame of play lasts in the mixer's samples.
constexpr size_t SAMPLES_PER_FRAME = SOUND_RATE / 60;

std::vector<int16_t> mixed(Mixer& mixer, size_t count) {
    std::vector<int16_t> out(count, 12345);  // anything the mixer fails to write shows
    mixer.mix(out.data(), out.size());
    return out;
}

int peakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t sample : samples)
        peak = std::max(peak, std::abs(int(sample)));
    return peak;
}

// The index of the first sample that is not silence, or -1.
long firstSound(const std::vector<int16_t>& samples) {
    auto found = std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; });
    return found == samples.end() ? -1 : long(found - samples.begin());
}

// ---- The mixer ----

TEST(Mixer, AStartedSoundIsHeardFromTheNextSampleWithHeadroomAndStopsAtItsEnd) {
    Mixer mixer;
    mixer.setSound(2, {1000, -2000, 3000}, 1);
    EXPECT_EQ(mixed(mixer, 4), (std::vector<int16_t>{0, 0, 0, 0})) << "nothing before a start";
    mixer.start(2);
    // At full volume the sum is halved, so that two loud sounds at once still fit.
    EXPECT_EQ(mixed(mixer, 2), (std::vector<int16_t>{500, -1000}));
    EXPECT_EQ(mixed(mixer, 3), (std::vector<int16_t>{1500, 0, 0}));
    EXPECT_EQ(mixer.playingVoices(), 0) << "a sound that has ended frees its voice";
    mixer.start(7);  // a sound the mixer was never given
    EXPECT_EQ(mixer.playingVoices(), 0);
}

TEST(Mixer, VoicesOfOneSoundStopAtItsLimitAndTheOldestStartsAgain) {
    Mixer mixer;
    mixer.setSound(0, {100, 200, 300, 400, 500, 600}, 2);
    mixer.setSound(1, std::vector<int16_t>(6, 1000), 3);
    mixer.start(0);
    mixed(mixer, 2);  // the first voice is at its third sample
    mixer.start(0);
    mixed(mixer, 1);  // the first at its fourth, the second at its second
    mixer.start(0);   // over the limit: the first starts again from its beginning
    EXPECT_EQ(mixer.playingVoices(0), 2);
    // The second voice (200, 300) and the restarted one (100, 200), halved; had the newest
    // been replaced, the first (400, 500) would sound instead of the second.
    EXPECT_EQ(mixed(mixer, 2), (std::vector<int16_t>{150, 250}));
    for (int i = 0; i < 5; ++i)
        mixer.start(1);
    EXPECT_EQ(mixer.playingVoices(1), 3) << "another sound has its own limit";
    EXPECT_EQ(mixer.playingVoices(), 5);
}

TEST(Mixer, APileUpBeyondFullScaleIsHeldThereNeverWrappedRound) {
    Mixer mixer;
    mixer.setSound(0, {30000, -30000, 30000}, 8);
    for (int i = 0; i < 8; ++i)
        mixer.start(0);
    EXPECT_EQ(mixed(mixer, 3), (std::vector<int16_t>{32767, -32768, 32767}));
}

TEST(Mixer, VolumeFollowsItsSquareAndZeroOrMuteIsDigitalSilence) {
    Mixer mixer;
    mixer.setSound(0, std::vector<int16_t>(100, 20000), 1);
    auto loudnessAt = [&](int volume) {
        mixer.setVolume(volume);
        mixer.start(0);
        return int(mixed(mixer, 100)[50]);
    };
    EXPECT_EQ(loudnessAt(100), 10000);
    EXPECT_EQ(loudnessAt(50), 2500);
    EXPECT_EQ(loudnessAt(0), 0);
    mixer.setVolume(150);
    EXPECT_EQ(mixer.getVolume(), 100);

    mixer.start(0);
    mixer.setMuted(true);
    mixer.start(0);
    EXPECT_EQ(mixer.playingVoices(), 0) << "muting drops what plays and starts nothing";
    EXPECT_EQ(peakOf(mixed(mixer, 100)), 0);
    mixer.setMuted(false);
    EXPECT_EQ(peakOf(mixed(mixer, 100)), 0) << "unmuting brings no old sound back";
    mixer.start(0);
    EXPECT_GT(peakOf(mixed(mixer, 100)), 0);
}

// ---- The effects' files ----

struct WavFile {
    SDL_AudioSpec format{};
    std::vector<int16_t> samples;
};

bool readWav(const char* path, WavFile& wav) {
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path, &wav.format, &data, &length) == nullptr)
        return false;
    wav.samples.assign(reinterpret_cast<int16_t*>(data),
                       reinterpret_cast<int16_t*>(data) + length / 2);
    SDL_FreeWAV(data);
    return true;
}

TEST(SoundFiles, EveryEffectIsAShortSoft16BitSoundThatStartsAndEndsInSilence) {
    for (int id = 0; id < SOUND_COUNT; ++id) {
        SCOPED_TRACE(soundFiles[id]);
        WavFile wav;
        ASSERT_TRUE(readWav(soundFiles[id], wav)) << SDL_GetError();
        EXPECT_EQ(wav.format.format, AUDIO_S16LSB);
        EXPECT_EQ(wav.format.channels, 1);
        EXPECT_EQ(wav.format.freq, SOUND_RATE);
        const size_t count = wav.samples.size();
        EXPECT_GE(count, size_t(SOUND_RATE / 50)) << "at least 20 ms";
        EXPECT_LE(count, size_t(2 * SOUND_RATE)) << "at most 2 s";
        // No click at either end: it rises from silence and falls back to it.
        EXPECT_EQ(wav.samples.front(), 0);
        EXPECT_EQ(wav.samples.back(), 0);
        const size_t edge = SOUND_RATE / 2000;  // the first and last half millisecond
        std::vector<int16_t> start(wav.samples.begin(), wav.samples.begin() + edge);
        std::vector<int16_t> end(wav.samples.end() - edge, wav.samples.end());
        const int peak = peakOf(wav.samples);
        EXPECT_LT(peakOf(start), peak / 2);
        EXPECT_LT(peakOf(end), peak / 4);
        // Soft: never near full scale, and no flat-topped square wave holding at its peak.
        EXPECT_LT(peak, 32767 * 85 / 100);
        EXPECT_GT(peak, 32767 / 10) << "not so soft that it cannot be heard";
        const long nearPeak = std::count_if(wav.samples.begin(), wav.samples.end(),
                                            [peak](int16_t s) { return std::abs(s) > peak * 0.9; });
        EXPECT_LT(nearPeak, long(count / 20));
    }
}

TEST(SoundFiles, EnemyFireIsQuieterThanTheShotsOfThePlayer) {
    WavFile player, enemy;
    ASSERT_TRUE(readWav(soundFiles[SOUND_PLAYER_SHOT], player));
    ASSERT_TRUE(readWav(soundFiles[SOUND_ENEMY_SHOT], enemy));
    EXPECT_LT(peakOf(enemy.samples), peakOf(player.samples) * 3 / 4);
}

// Runs in a scratch directory that holds only sounds/, for files the test writes.
class SoundDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path());
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    ScratchDir scratch;
    std::filesystem::path previous;
};

TEST_F(SoundDirTest, AnEffectInAnotherFormatIsConvertedToTheMixersOnLoading) {
    // 8-bit unsigned stereo at 22050 Hz, 100 frames of a square at a quarter scale.
    std::string wav = "RIFF";
    auto put = [&wav](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.push_back(char((value >> (8 * i)) & 0xFF));
    };
    put(36 + 200, 4);
    wav += "WAVEfmt ";
    for (auto [value, bytes] : {std::pair<uint32_t, int>{16, 4},
                                {1, 2},
                                {2, 2},
                                {22050, 4},
                                {22050 * 2, 4},
                                {2, 2},
                                {8, 2}})
        put(value, bytes);
    wav += "data";
    put(200, 4);
    for (int i = 0; i < 100; ++i) {
        const char level = char((i / 10) % 2 == 0 ? 160 : 96);
        wav += std::string(2, level);
    }
    scratch.write(soundFiles[SOUND_MENU_MOVE], wav);

    Mixer mixer;
    std::string error;
    ASSERT_TRUE(loadSound(mixer, SOUND_MENU_MOVE, error)) << error;
    mixer.start(SOUND_MENU_MOVE);
    const std::vector<int16_t> out = mixed(mixer, 400);
    const long lastHeard =
        long(out.rend() - std::find_if(out.rbegin(), out.rend(), [](int16_t s) { return s != 0; }));
    EXPECT_NEAR(lastHeard, 200, 4) << "100 frames at 22050 Hz last 200 samples at 44100 Hz";
    EXPECT_GT(peakOf(out), 1000);
    EXPECT_LT(peakOf(out), 32767 / 2);
}

TEST_F(SoundDirTest, AMissingOrGarbledEffectIsNamedAndNothingIsLoaded) {
    Mixer mixer;
    std::string error;
    EXPECT_FALSE(loadSounds(mixer, error));
    EXPECT_NE(error.find(soundFiles[0]), std::string::npos) << error;

    scratch.write(soundFiles[SOUND_PLAYER_SHOT], "RIFF\x10\0\0\0WAVEnot a sound at all");
    EXPECT_FALSE(loadSound(mixer, SOUND_PLAYER_SHOT, error));
    EXPECT_NE(error.find(soundFiles[SOUND_PLAYER_SHOT]), std::string::npos) << error;
    mixer.start(SOUND_PLAYER_SHOT);
    EXPECT_EQ(mixer.playingVoices(), 0);

    // Closed on a garbled file, the game keeps no half-loaded sound and no device.
    std::string problem;
    EXPECT_FALSE(openAudio(false, 80, problem));
    EXPECT_NE(problem.find("sounds/"), std::string::npos) << problem;
    EXPECT_FALSE(audioOpen());
    gameMixer().start(SOUND_PLAYER_SHOT);
    EXPECT_EQ(gameMixer().playingVoices(), 0);
}

// ---- What the rules report, frame by frame ----

class FrameEventsTest : public LevelTest {
protected:
    // Steps and draws the current level for `frames` frames, keeping each frame's events.
    std::vector<FrameEvents> play(Level* level, int frames) {
        std::vector<FrameEvents> seen;
        for (int frame = 1; frame <= frames; ++frame) {
            level->step();
            level->draw();
            seen.push_back(level->takeEvents());
        }
        return seen;
    }
    // The frames (from 1) on which `event` came, once for each time it came.
    static std::vector<int> framesOf(const std::vector<FrameEvents>& seen, GameEvent event) {
        std::vector<int> frames;
        for (size_t i = 0; i < seen.size(); ++i)
            for (int n = 0; n < seen[i].count(event); ++n)
                frames.push_back(int(i) + 1);
        return frames;
    }
};

const char* const shipBelow =
    "Ship(500, 600)\n"
    "ShipArea(100, 550) (950, 700)\n";

TEST_F(FrameEventsTest, ABankShotIsFiredTurnedAndDestroysTheCrateOnceOnItsFrame) {
    Level* level =
        startLevel(std::string(shipBelow) + "Wall(500, 300) (550, 350)\nCrate(300, 304)\n");
    level->getPlayer()->fireLaser();
    std::vector<FrameEvents> seen = play(level, 4);
    // A second shot the same way strikes the crate while it explodes.
    level->getPlayer()->fireLaser();
    const std::vector<FrameEvents> later = play(level, 196);
    seen.insert(seen.end(), later.begin(), later.end());
    EXPECT_EQ(framesOf(seen, EVENT_PLAYER_FIRED), (std::vector<int>{1, 5}));
    const std::vector<int> turned = framesOf(seen, EVENT_SHOT_TURNED);
    ASSERT_EQ(turned.size(), 2u);
    EXPECT_EQ(turned[1], turned[0] + 4);
    // The crate's inset is reached on frame 155; it explodes for 40 frames and counts once.
    EXPECT_EQ(framesOf(seen, EVENT_CRATE_DESTROYED), std::vector<int>{155});
    EXPECT_TRUE(level->won());
    for (GameEvent none : {EVENT_SHOT_SENT_BACK, EVENT_SHOT_FADED, EVENT_ENEMY_DESTROYED,
                           EVENT_PLAYER_DESTROYED, EVENT_ENEMY_FIRED})
        EXPECT_TRUE(framesOf(seen, none).empty()) << none;
}

TEST_F(FrameEventsTest, AShotSentBackThreeTimesFadesAtTheFourthWall) {
    Level* level = startLevel(std::string(shipBelow) +
                              "Wall(400, 400) (650, 400)\nWall(400, 500) (650, 500)\n"
                              "Crate(100, 100)\n");
    level->addLaser(Laser(525, 450, 0, 3, 4, LASER_PLAYER));
    const std::vector<FrameEvents> seen = play(level, 400);
    const std::vector<int> back = framesOf(seen, EVENT_SHOT_SENT_BACK);
    const std::vector<int> faded = framesOf(seen, EVENT_SHOT_FADED);
    ASSERT_EQ(back.size(), 3u);
    ASSERT_EQ(faded.size(), 1u);
    EXPECT_TRUE(std::is_sorted(back.begin(), back.end()));
    EXPECT_GT(faded[0], back.back());
    EXPECT_TRUE(framesOf(seen, EVENT_SHOT_TURNED).empty());
}

TEST_F(FrameEventsTest, TwoShootersFireTogetherAndTheLastShotAndTheShipGoDownInOneFrame) {
    // Both shooters fire first on frame 60; the left one's shot reaches the ship on frame 217,
    // and a shot fired on frame 64 reaches it on the same frame.
    Level* level = startLevel(std::string(shipBelow) +
                              "EnemyForward(500, 100)DOWN\nEnemyForward(800, 100)DOWN\n");
    std::vector<FrameEvents> seen = play(level, 63);
    level->getPlayer()->fireLaser();
    const std::vector<FrameEvents> later = play(level, 200);
    seen.insert(seen.end(), later.begin(), later.end());
    EXPECT_EQ(framesOf(seen, EVENT_ENEMY_FIRED).front(), 60);
    EXPECT_EQ(seen[59].count(EVENT_ENEMY_FIRED), 2);
    EXPECT_EQ(framesOf(seen, EVENT_PLAYER_FIRED), std::vector<int>{64});
    EXPECT_EQ(framesOf(seen, EVENT_PLAYER_DESTROYED), std::vector<int>{217});
    EXPECT_EQ(framesOf(seen, EVENT_ENEMY_DESTROYED), std::vector<int>{217});
    EXPECT_TRUE(framesOf(seen, EVENT_CRATE_DESTROYED).empty());
}

// ---- Real levels played into the game's mixer ----

// Loads the game's sounds into its mixer (all of them, or one) at full volume and unloads them
// when the test ends; plays replays with every frame's samples pulled as the device would.
class PlayedSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGame();
        gameMixer().setMuted(false);
        gameMixer().setVolume(100);
    }
    void TearDown() override {
        gameMixer().clear();
        gameMixer().setMuted(false);
    }

    void loadOnly(SoundId id) {
        std::string error;
        ASSERT_TRUE(loadSound(gameMixer(), id, error)) << error;
    }
    void loadAll() {
        std::string error;
        ASSERT_TRUE(loadSounds(gameMixer(), error)) << error;
    }

    struct Heard {
        ReplayOutcome outcome;
        std::vector<int16_t> samples;
        int crateHitFrame = 0;  // the first frame after which a crate was no longer whole
    };

    static void pullFrame(int frame, Heard& heard) {
        const size_t at = heard.samples.size();
        heard.samples.resize(at + SAMPLES_PER_FRAME);
        gameMixer().mix(heard.samples.data() + at, SAMPLES_PER_FRAME);
        if (heard.crateHitFrame == 0)
            for (const Ship* ship : getCurrentLevel()->getEnemies())
                if (ship->getStatus() != SHIP_ALIVE)
                    heard.crateHitFrame = frame;
    }

    Heard play(const Replay& replay, int maxFrames = 0) {
        Heard heard;
        const int livesBefore = lives;
        ClippedDrawing unseen;
        heard.outcome =
            playReplay(replay, maxFrames, [&heard](int frame) { pullFrame(frame, heard); });
        lives = livesBefore;
        return heard;
    }

    static Replay shipped(int level) {
        Replay replay;
        std::string error;
        EXPECT_TRUE(loadReplay("solutions/level" + std::to_string(level) + ".txt", replay, error))
            << error;
        return replay;
    }

    static size_t frameStart(int frame) { return size_t(frame - 1) * SAMPLES_PER_FRAME; }
};

TEST_F(PlayedSoundTest, TheShotIsHeardWithThePressOfSpaceAndTheCrateWithTheFrameItDies) {
    const Replay replay = shipped(1);
    auto space = std::find_if(replay.events.begin(), replay.events.end(),
                              [](const ReplayEvent& e) { return e.press && e.key == SDLK_SPACE; });
    ASSERT_NE(space, replay.events.end());

    loadOnly(SOUND_PLAYER_SHOT);
    const Heard shot = play(replay);
    ASSERT_EQ(shot.outcome.state, STATE_LEVEL_WON);
    const long shotAt = firstSound(shot.samples);
    ASSERT_GE(shotAt, long(frameStart(space->frame)));
    EXPECT_LT(shotAt, long(frameStart(space->frame) + AUDIO_BUFFER_SAMPLES));
    gameMixer().clear();

    loadOnly(SOUND_CRATE_DESTROYED);
    const Heard crate = play(replay);
    ASSERT_GT(crate.crateHitFrame, space->frame);
    const long crateAt = firstSound(crate.samples);
    ASSERT_GE(crateAt, long(frameStart(crate.crateHitFrame)));
    EXPECT_LT(crateAt, long(frameStart(crate.crateHitFrame) + AUDIO_BUFFER_SAMPLES));

    // The same replay sounds the same every time.
    EXPECT_EQ(play(replay).samples, crate.samples);
}

TEST_F(PlayedSoundTest, TheLevelCompleteTuneStartsOnTheWinningFrame) {
    loadOnly(SOUND_LEVEL_COMPLETE);
    const Heard heard = play(shipped(1));
    ASSERT_EQ(heard.outcome.state, STATE_LEVEL_WON);
    EXPECT_GE(firstSound(heard.samples), long(frameStart(heard.outcome.frame)));
    EXPECT_LT(firstSound(heard.samples), long(frameStart(heard.outcome.frame) + 64));
}

TEST_F(PlayedSoundTest, MutedAWholeLevelIsDigitalSilence) {
    loadAll();
    gameMixer().setMuted(true);
    const Heard heard = play(shipped(1));
    ASSERT_EQ(heard.outcome.state, STATE_LEVEL_WON);
    ASSERT_FALSE(heard.samples.empty());
    EXPECT_EQ(firstSound(heard.samples), -1);
}

// A game directory whose level 1 is the benchmark's stress level: 30 enemies and 30 crates.
class StressLevelSoundTest : public PlayedSoundTest {
protected:
    void SetUp() override {
        PlayedSoundTest::SetUp();
        loadAll();
        std::string text, error;
        ASSERT_TRUE(readWholeFile("bench/stress_level.txt", text, error)) << error;
        scratch.write("levels/level1.txt", text);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path());
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        PlayedSoundTest::TearDown();
    }
    ScratchDir scratch;
    std::filesystem::path previous;
};

TEST_F(StressLevelSoundTest, TheLoudestMomentOfAStressedLevelStaysUnderFullScale) {
    // Thirty seconds: every enemy's volleys, their shots off sixty walls, and a shot of the
    // player's every quarter second.
    Replay replay;
    replay.level = 1;
    for (int frame = 1; frame < 1800; frame += 15) {
        replay.events.push_back({frame, true, SDLK_SPACE});
        replay.events.push_back({frame + 1, false, SDLK_SPACE});
    }
    const Heard heard = play(replay, 1800);
    ASSERT_EQ(heard.outcome.state, STATE_GAME) << "the level must last the whole time";
    const int peak = peakOf(heard.samples);
    std::cout << "stress level at full volume: loudest sample " << peak << " of 32767\n";
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 32767 / 8) << "so loud a level cannot be near silent";
}

TEST_F(PlayedSoundTest, NoShippedLevelsReplayClipsAtFullVolume) {
    loadAll();
    int loudest = 0, loudestLevel = 0;
    for (int level = 1; level <= LEVEL_COUNT; ++level) {
        const Heard heard = play(shipped(level));
        const int peak = peakOf(heard.samples);
        EXPECT_LT(peak, 32767) << "level " << level;
        if (peak > loudest) {
            loudest = peak;
            loudestLevel = level;
        }
    }
    std::cout << "loudest shipped replay: level " << loudestLevel << ", " << loudest
              << " of 32767\n";
}

// ---- M and the volume keys, on every screen ----

void pushKey(SDLKey key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

std::string settingsText() {
    std::string text, error;
    readWholeFile(settingsPath(), text, error);
    return text;
}

TEST(SoundKeys, MMutesAndUnmutesAndTheChoiceIsKeptForTheNextRun) {
    ensureGame();
    ScopedHome home;
    currentSettings() = Settings();
    setAudioMuted(false);
    SDL_Event event;
    while (pollInput(event)) {
    }

    pushKey(SDLK_m);
    EXPECT_FALSE(pollInput(event)) << "no screen sees M";
    EXPECT_TRUE(audioMuted());
    EXPECT_NE(settingsText().find("mute = on"), std::string::npos) << settingsText();
    std::ostringstream warnings;
    EXPECT_TRUE(loadSettings(warnings).mute);

    pushKey(SDLK_m);
    pushKey(SDLK_SPACE);
    ASSERT_TRUE(pollInput(event)) << "other keys still reach the screen";
    EXPECT_EQ(event.key.keysym.sym, SDLK_SPACE);
    EXPECT_FALSE(audioMuted());
    EXPECT_FALSE(loadSettings(warnings).mute);
    EXPECT_TRUE(warnings.str().empty()) << warnings.str();
}

TEST(SoundKeys, MinusAndPlusStepTheVolumeWithinItsRangeAndKeepIt) {
    ensureGame();
    ScopedHome home;
    currentSettings() = Settings();
    SDL_Event event;
    pushKey(SDLK_MINUS);
    pushKey(SDLK_KP_MINUS);
    EXPECT_FALSE(pollInput(event));
    EXPECT_EQ(gameMixer().getVolume(), DEFAULT_VOLUME - 20);
    std::ostringstream warnings;
    EXPECT_EQ(loadSettings(warnings).volume, DEFAULT_VOLUME - 20);
    for (int i = 0; i < 12; ++i)
        pushKey(SDLK_EQUALS);
    EXPECT_FALSE(pollInput(event));
    EXPECT_EQ(loadSettings(warnings).volume, MAX_VOLUME);
    for (int i = 0; i < 12; ++i)
        pushKey(SDLK_MINUS);
    EXPECT_FALSE(pollInput(event));
    EXPECT_EQ(loadSettings(warnings).volume, 0);
    EXPECT_EQ(gameMixer().getVolume(), 0);
    gameMixer().setVolume(100);
}

}  // namespace
