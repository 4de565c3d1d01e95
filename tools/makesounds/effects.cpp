// The recipes of the game's sounds. Soft partials over a sine rather than square waves, short
// rises and smooth falls; the tunes are plain major and minor steps.
#include "effects.h"

#include "synth.h"

namespace {

// Note pitches in Hz.
constexpr double C4 = 261.63, CS4 = 277.18, D4 = 293.66, DS4 = 311.13, E4 = 329.63, G4 = 392.00;
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, A5 = 880.00, C6 = 1046.50, E6 = 1318.51;

const std::vector<Partial> SOFT = {{1, 1}, {2, 0.25}, {3, 0.08}};
const std::vector<Partial> CHIME = {{1, 1}, {2, 0.3}, {3, 0.1}, {4, 0.04}};
const std::vector<Partial> BELL = {{1, 1}, {2.76, 0.3}};

// A tune: notes one after another, each ringing `length` seconds, the last for `last`.
std::vector<int16_t> tune(std::initializer_list<double> notes, double step, double length,
                          double last, double peak) {
    const double total = step * double(notes.size() - 1) + last;
    Track track(total);
    double at = 0;
    size_t index = 0;
    for (double note : notes) {
        const bool isLast = ++index == notes.size();
        track.add(Tone{note, note, CHIME, {0.006, 2}}, at, isLast ? last : length, 1.0);
        at += step;
    }
    return track.finish(peak);
}

// A burst of noise over a falling thump: the louder and longer, the bigger the ship.
std::vector<int16_t> explosion(double length, double brightness, double thumpFrom, double thumpTo,
                               uint32_t seed, double peak) {
    Track track(length);
    track.add(Noise{brightness, 150, {0.004, 3}, seed}, 0, length, 1.0);
    track.add(Tone{thumpFrom, thumpTo, {{1, 1}, {2, 0.4}}, {0.006, 2}}, 0, length * 0.7, 0.6);
    return track.finish(peak);
}

// A single tone over the whole sound.
std::vector<int16_t> single(const Tone& tone, double length, double peak) {
    Track track(length);
    track.add(tone, 0, length, 1.0);
    return track.finish(peak);
}

}  // namespace

Effect makeEffect(SoundId id) {
    switch (id) {
        case SOUND_PLAYER_SHOT:
            return {"your shot", single(Tone{1500, 420, SOFT, {0.003, 2}}, 0.14, 0.5)};
        case SOUND_ENEMY_SHOT:
            return {"an enemy firing", single(Tone{700, 260, SOFT, {0.004, 2}}, 0.12, 0.3)};
        case SOUND_SHOT_TURNED:
            return {"a shot turned by a diagonal wall",
                    single(Tone{2400, 2300, BELL, {0.0015, 3}}, 0.09, 0.35)};
        case SOUND_SHOT_SENT_BACK:
            return {"a shot sent straight back",
                    single(Tone{520, 780, {{1, 1}, {2, 0.3}}, {0.002, 3}}, 0.1, 0.4)};
        case SOUND_SHOT_FADED:
            return {"a shot fading out",
                    single(Tone{900, 180, {{1, 1}, {2, 0.15}}, {0.005, 2}}, 0.28, 0.3)};
        case SOUND_CRATE_DESTROYED: {
            Track track(0.38);
            track.add(Noise{1800, 400, {0.002, 3}, 7}, 0, 0.38, 1.0);
            track.add(Tone{160, 90, {{1, 1}, {2, 0.5}}, {0.004, 2}}, 0, 0.3, 0.6);
            return {"a crate destroyed", track.finish(0.6)};
        }
        case SOUND_ENEMY_DESTROYED:
            return {"an enemy destroyed", explosion(0.6, 2500, 110, 45, 11, 0.7)};
        case SOUND_PLAYER_DESTROYED: {
            Track track(1.0);
            track.add(Noise{3000, 150, {0.004, 2}, 23}, 0, 1.0, 1.0);
            track.add(Tone{90, 35, {{1, 1}, {2, 0.4}}, {0.006, 2}}, 0, 0.7, 0.6);
            track.add(Tone{800, 120, {{1, 1}, {2, 0.3}}, {0.01, 1}}, 0, 0.9, 0.25);
            return {"your ship destroyed", track.finish(0.8)};
        }
        case SOUND_LEVEL_COMPLETE:
            return {"level complete", tune({C5, E5, G5, C6}, 0.1, 0.16, 0.45, 0.55)};
        case SOUND_SHIP_LOST:
            return {"ship lost", tune({G4, E4, C4}, 0.15, 0.2, 0.4, 0.55)};
        case SOUND_GAME_OVER:
            return {"game over", tune({E4, DS4, D4, CS4}, 0.28, 0.32, 0.8, 0.6)};
        case SOUND_MENU_MOVE:
            return {"a menu's move",
                    single(Tone{1250, 1250, {{1, 1}, {2, 0.2}}, {0.0015, 3}}, 0.05, 0.3)};
        case SOUND_MENU_CONFIRM: {
            Track track(0.16);
            track.add(Tone{A5, A5, CHIME, {0.003, 2}}, 0, 0.1, 1.0);
            track.add(Tone{E6, E6, CHIME, {0.003, 2}}, 0.06, 0.1, 1.0);
            return {"a menu's confirm", track.finish(0.4)};
        }
        default:
            return {nullptr, {}};
    }
}
