// The rules of play, frame by frame: bank shots, reversals, enemy fire, the shot limit,
// and the faults of the rules that the game mends.
#include <gtest/gtest.h>

#include "levelfixture.h"
#include "replayrunner.h"
#include "skarlume.h"

namespace {

class RulesTest : public LevelTest {
protected:
    // Plays the level from its first frame with these key events, the way a replay does.
    ReplayOutcome play(const std::string& text, std::vector<ReplayEvent> events,
                       int maxFrames = 2000) {
        writeLevel(900, text);
        Replay replay;
        replay.level = 900;
        replay.events = std::move(events);
        return playReplay(replay, maxFrames);
    }

    static ReplayEvent press(int frame, SDLKey key) { return {frame, true, key}; }
    static ReplayEvent release(int frame, SDLKey key) { return {frame, false, key}; }

    int playerLasersInFlight(const Level* level) {
        int count = 0;
        for (const Laser& laser : level->getLasers())
            if (laser.getType() == LASER_PLAYER && laser.inFlight())
                ++count;
        return count;
    }
};

// The player at (500, 600) fires from (525, 600); its laser's hot point climbs from y 599.
const char* const playerBelow =
    "Ship(500, 600)\n"
    "ShipArea(100, 550) (950, 700)\n";

TEST_F(RulesTest, BankShotOffADiagonalDestroysACrateAndTheLevelIsWonWhenItsExplosionEnds) {
    std::string level = std::string(playerBelow) +
                        "Wall(500, 300) (550, 350)\n"  // falling: turns an upward shot left
                        "Crate(300, 304)\n";
    // Up 91 frames into the wall at y 329, then left: inside the crate's inset at x 332 on
    // frame 155; 40 drawn frames of explosion end on frame 194.
    ReplayOutcome outcome = play(level, {press(1, SDLK_SPACE), release(2, SDLK_SPACE)});
    EXPECT_EQ(outcome.state, STATE_LEVEL_WON);
    EXPECT_EQ(outcome.frame, 194);
    EXPECT_FALSE(outcome.lifeSpent);
}

TEST_F(RulesTest, CrateIsHitOnTheFrameTheBankShotReachesItsInset) {
    Level* level =
        startLevel(std::string(playerBelow) + "Wall(500, 300) (550, 350)\nCrate(300, 304)\n");
    level->getPlayer()->fireLaser();
    for (int frame = 1; frame <= 154; ++frame) {
        level->step();
        level->draw();
    }
    EXPECT_EQ(level->getEnemies().front()->getStatus(), SHIP_ALIVE);
    level->step();
    EXPECT_EQ(level->getEnemies().front()->getStatus(), SHIP_EXPLODING);
    EXPECT_EQ(level->getShotCount(), 0);
}

TEST_F(RulesTest, OwnShotSentStraightBackLosesTheLevel) {
    std::string level = std::string(playerBelow) +
                        "Wall(400, 400) (650, 400)\n"
                        "Crate(100, 100)\n";
    // Into the wall on frame 65, back down into the hit box (y 620) on frame 136, and the
    // ship's explosion ends on frame 175.
    ReplayOutcome outcome = play(level, {press(1, SDLK_SPACE)});
    EXPECT_EQ(outcome.state, STATE_LEVEL_LOST);
    EXPECT_EQ(outcome.frame, 175);
    EXPECT_TRUE(outcome.lifeSpent);
    EXPECT_EQ(lives, 3);
}

TEST_F(RulesTest, ReversalCostsTheBeamALifeAndTheFourthReversalEndsIt) {
    // Two facing walls bounce a shot up and down between them, away from the ship.
    Level* level = startLevel(std::string(playerBelow) +
                              "Wall(400, 400) (650, 400)\nWall(400, 500) (650, 500)\n"
                              "Crate(100, 100)\n");
    level->addLaser(Laser(525, 450, 0, 3, 4, LASER_PLAYER));
    std::vector<int> lifeSeen;
    for (int frame = 0; frame < 400 && !level->getLasers().empty(); ++frame) {
        level->step();
        level->draw();
        for (const Laser& laser : level->getLasers())
            if (laser.inFlight() && (lifeSeen.empty() || lifeSeen.back() != laser.getLife()))
                lifeSeen.push_back(laser.getLife());
    }
    EXPECT_EQ(lifeSeen, (std::vector<int>{4, 3, 2, 1}));
    EXPECT_TRUE(level->getLasers().empty());
    EXPECT_EQ(level->getShotCount(), 0);
    EXPECT_EQ(level->getPlayer()->getStatus(), SHIP_ALIVE);
}

TEST_F(RulesTest, EnemyLaserPassesThroughACrateAndHitsThePlayer) {
    std::string level = std::string(playerBelow) +
                        "EnemyForward(500, 100)DOWN\n"
                        "Crate(500, 300)\n";
    // First shot on frame 60 from (525, 150); it reaches the hit box on frame 217.
    Level* current = startLevel(level);
    for (int frame = 1; frame <= 216; ++frame) {
        current->step();
        current->draw();
    }
    EXPECT_EQ(current->getPlayer()->getStatus(), SHIP_ALIVE);
    current->step();
    EXPECT_EQ(current->getPlayer()->getStatus(), SHIP_EXPLODING);
    EXPECT_EQ(current->getEnemies().back()->getStatus(), SHIP_ALIVE) << "the crate is untouched";
    ReplayOutcome outcome = play(level, {});
    EXPECT_EQ(outcome.state, STATE_LEVEL_LOST);
    EXPECT_EQ(outcome.frame, 217 + 39);
}

TEST_F(RulesTest, LastEnemyAndThePlayerDyingInTheSameFrameIsALoss) {
    // The shooter's first shot hits the player on frame 217; a shot fired before frame 64
    // reaches the shooter's triangle on frame 217 too. Both explosions end on frame 256.
    std::string level = std::string(playerBelow) + "EnemyForward(500, 100)DOWN\n";
    ReplayOutcome outcome = play(level, {press(64, SDLK_SPACE)});
    EXPECT_EQ(outcome.state, STATE_LEVEL_LOST);
    EXPECT_EQ(outcome.frame, 256);
    EXPECT_EQ(getCurrentLevel()->getEnemyCount(), 0) << "the shooter died in that frame too";
}

TEST_F(RulesTest, SixthShotRetiresTheOldestAndTheCountStaysAtFive) {
    Level* level = startLevel(std::string(playerBelow) + "EnemyDual(100, 100)RIGHT\n");
    Player* player = level->getPlayer();
    for (int shot = 1; shot <= 6; ++shot) {
        player->fireLaser();
        level->step();
        level->draw();
    }
    EXPECT_EQ(level->getShotCount(), 5);
    EXPECT_EQ(playerLasersInFlight(level), 5);
    const Laser& oldest = level->getLasers().front();
    EXPECT_TRUE(oldest.isVanishing());
    EXPECT_EQ(oldest.getType(), LASER_PLAYER);
}

TEST_F(RulesTest, ShotLimitSkipsEnemyLasersAndLasersAlreadyVanishing) {
    Level* level = startLevel(std::string(playerBelow) + "Crate(100, 100)\n");
    Player* player = level->getPlayer();
    level->addLaser(Laser(300, 300, 0, 3, 4, LASER_ENEMY));
    for (int shot = 1; shot <= 7; ++shot)
        player->fireLaser();
    std::vector<bool> vanishing;
    for (const Laser& laser : level->getLasers())
        vanishing.push_back(laser.isVanishing());
    // The enemy's laser is never retired; the sixth shot retired the first, and the seventh
    // passed over it to retire the second.
    EXPECT_EQ(vanishing, (std::vector<bool>{false, true, true, false, false, false, false, false}));
    EXPECT_EQ(level->getShotCount(), 5);
}

TEST_F(RulesTest, ShotsThatLeaveTheScreenGiveThemselvesBackSoASixthStillDestroysACrate) {
    // Five shots fly off the open top of the field, then the ship moves under the crate.
    std::vector<ReplayEvent> events;
    for (int shot = 0; shot < 5; ++shot) {
        events.push_back(press(1 + 2 * shot, SDLK_SPACE));
        events.push_back(release(2 + 2 * shot, SDLK_SPACE));
    }
    events.push_back(press(300, SDLK_RIGHT));
    events.push_back(release(400, SDLK_RIGHT));  // 100 frames: from x 500 to 700
    events.push_back(press(401, SDLK_SPACE));
    ReplayOutcome outcome = play(std::string(playerBelow) + "Crate(700, 100)\n", events);
    EXPECT_EQ(outcome.state, STATE_LEVEL_WON);
    EXPECT_EQ(getCurrentLevel()->getShotCount(), 0);
}

TEST_F(RulesTest, ShotCountMatchesTheShotsInFlightWhateverEndsThem) {
    // Shots end at the screen edge, in two crates, and sent back into the player's own ship;
    // the count must follow them all.
    Level* level = startLevel(
        std::string(playerBelow) +
        "Wall(300, 400) (450, 400)\nCrate(600, 200)\nCrate(600, 100)\nCrate(100, 100)\n");
    Player* player = level->getPlayer();
    const int xs[] = {500, 600, 600, 350};
    int frame = 0;
    for (; frame < 1000 && !level->lost(); ++frame) {
        if (frame % 150 == 0 && frame / 150 < 4) {
            player->setPos(xs[frame / 150], 600);
            player->fireLaser();
        }
        level->step();
        level->draw();
        ASSERT_EQ(level->getShotCount(), playerLasersInFlight(level)) << "frame " << frame;
    }
    EXPECT_TRUE(level->lost());
    EXPECT_EQ(level->getEnemyCount(), 1);
}

TEST_F(RulesTest, AShotRetiredAtAWallThatAlsoReachesACrateGivesItsShotBackOnce) {
    // Where the shot arrives, the wall's band (y 280 to 288) and the crate's inset overlap.
    Level* level = startLevel(std::string(playerBelow) +
                              "Wall(400, 280) (650, 280)\nCrate(500, 254)\nCrate(100, 100)\n");
    level->getPlayer()->fireLaser();
    int frame = 0;
    while (frame < 200 && level->getEnemies().front()->getStatus() == SHIP_ALIVE) {
        level->step();
        level->draw();
        ++frame;
        ASSERT_EQ(level->getShotCount(), playerLasersInFlight(level)) << frame;
    }
    EXPECT_EQ(frame, 105);
    EXPECT_EQ(level->getShotCount(), 1) << "the reversed successor flies on";
}

TEST_F(RulesTest, VanishingLasersNeverBreedInAWallAcrossTheTopLeftCorner) {
    // A border wall covering (-1, -1), where a vanishing laser's hot point lies.
    Level* level = startLevel(std::string(playerBelow) +
                              "Wall(-5, -10) (-5, 778)\nCrate(500, 300)\nCrate(100, 100)\n");
    level->getPlayer()->fireLaser();
    size_t mostLasers = 0;
    for (int frame = 0; frame < 600; ++frame) {
        level->step();
        level->draw();
        mostLasers = std::max(mostLasers, level->getLasers().size());
    }
    EXPECT_LE(mostLasers, 1u);
    EXPECT_EQ(level->getEnemyCount(), 1);
}

// Steps until a laser flies some other way than `from`; its direction, or -1.
int firstTurn(Level* level, int from, int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        level->step();
        level->draw();
        for (const Laser& laser : level->getLasers())
            if (laser.getDirection() != from)
                return laser.getDirection();
    }
    return -1;
}

// The player's shot climbs at x 525 and first reaches y 428, inside both walls: the one
// written first in the file turns it.
TEST_F(RulesTest, OfTwoWallsHoldingAShotTheFirstInTheFileTurnsIt) {
    const std::string ceiling = "Wall(480, 422) (570, 422)\n";
    const std::string diagonal = "Wall(475, 375) (575, 475)\n";
    Level* level = startLevel(std::string(playerBelow) + ceiling + diagonal + "Crate(100, 100)\n");
    level->getPlayer()->fireLaser();
    EXPECT_EQ(firstTurn(level, 0, 80), 180) << "the ceiling sends it straight back";
    level = startLevel(std::string(playerBelow) + diagonal + ceiling + "Crate(100, 100)\n");
    level->getPlayer()->fireLaser();
    EXPECT_EQ(firstTurn(level, 0, 80), 270) << "the diagonal turns it to the left";
}

// The hot point of a shot leaving by the left edge is off the screen before the shot is wholly
// out, and a wall there still sends it back.
TEST_F(RulesTest, AWallJustBeyondTheScreensEdgeStillSendsAShotBack) {
    Level* level =
        startLevel(std::string(playerBelow) + "Wall(-20, 0) (-20, 768)\nCrate(100, 100)\n");
    level->addLaser(Laser(100, 300, 270, 3, 4, LASER_ENEMY));
    EXPECT_EQ(firstTurn(level, 270, 80), 90);
}

// A laser born at a wall takes the place just before the one it came from, and is first checked
// in the next frame: checked at once, its hot point inside the wall would breed another.
TEST_F(RulesTest, ABouncedLaserStandsJustBeforeItsParentAndIsCheckedFromTheNextFrame) {
    Level* level =
        startLevel(std::string(playerBelow) + "Wall(300, 100) (300, 200)\n" + "Crate(800, 100)\n");
    level->addLaser(Laser(100, 400, 90, 3, 4, LASER_ENEMY));
    level->addLaser(Laser(290, 150, 90, 3, 4, LASER_ENEMY));
    level->addLaser(Laser(100, 450, 90, 3, 4, LASER_ENEMY));
    for (int frame = 0; frame < 20 && level->getLasers().size() == 3; ++frame)
        level->step();
    const std::vector<Laser>& lasers = level->getLasers();
    ASSERT_EQ(lasers.size(), 4u) << "one laser was born";
    EXPECT_EQ(lasers[0].getHotPoint().y, 400);
    EXPECT_EQ(lasers[1].getDirection(), 270);
    EXPECT_EQ(lasers[1].getHotPoint().y, 150);
    EXPECT_EQ(lasers[2].getDirection(), 90);
    EXPECT_TRUE(lasers[2].isVanishing());
    EXPECT_EQ(lasers[3].getHotPoint().y, 450);
    level->step();
    EXPECT_EQ(level->getLasers().size(), 4u) << "the new laser leaves the wall alone";
}

// Walls added after the level has been played are found as well as those of the file.
TEST_F(RulesTest, AWallAddedDuringPlayTurnsShots) {
    Level* level = startLevel(std::string(playerBelow) + "Crate(100, 100)\n");
    level->addLaser(Laser(100, 300, 90, 3, 4, LASER_ENEMY));
    for (int frame = 0; frame < 10; ++frame)
        level->step();
    level->addWall(Wall(400, 250, 400, 350));
    EXPECT_EQ(firstTurn(level, 90, 200), 270);
}

TEST_F(RulesTest, ExplodingShipIsStillCountedUntilItsExplosionEnds) {
    Level* level = startLevel(std::string(playerBelow) + "Crate(100, 100)\nCrate(200, 100)\n");
    level->getEnemies().front()->hit();
    for (int frame = 1; frame < EXPLOSION_FRAMES; ++frame)
        level->draw();
    EXPECT_EQ(level->getEnemyCount(), 2);
    EXPECT_EQ(level->getEnemies().size(), 2u);
    level->draw();
    EXPECT_EQ(level->getEnemyCount(), 1);
    EXPECT_FALSE(level->won());
}

TEST_F(RulesTest, NothingMovesOnceTheLevelIsDecided) {
    Level* level = startLevel(std::string(playerBelow));
    level->getPlayer()->setXVelocity(2);
    level->step();
    level->draw();
    ASSERT_TRUE(level->won());
    int x = level->getPlayer()->getXPosition();
    level->step();
    EXPECT_EQ(level->getPlayer()->getXPosition(), x);
}

}  // namespace
