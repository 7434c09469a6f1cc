#include "player/PlaybackSequencer.h"

#include "platform/xaudio/XA_Codes.h"
#include "player/PlaylistQueue.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Entries = std::vector<CTwoStrings>;

// The sequencer with hands that record what it asked for. The timer is fired by hand; a player
// is imitated by calling playerStopped() where the real one would report the end of a song.
class PlaybackSequencerTest : public ::testing::Test {
protected:
    PlaybackSequencerTest() {
        PlaybackSequencer::Hands hands;
        hands.showTitle = [this](const std::string& display) { titles.push_back(display); };
        hands.play = [this](const CTwoStrings& entry) {
            played.push_back(entry);
            return !refused.count(entry.location);
        };
        hands.clearPlaylist = [this] { ++clears; };
        hands.selectedDisplay = [this] { return selection; };
        hands.closeWindow = [this] { ++closes; };
        sequencer = std::make_unique<PlaybackSequencer>(
            queue, [this](int milliseconds) { arms.push_back(milliseconds); }, std::move(hands));
    }

    // Fires the timer while it is armed, imitating the end of every song that starts playing.
    void runUntilIdle() {
        for (int guard = 0; guard < 100 && pendingArms() > 0; ++guard) {
            ++fired;
            const std::size_t before = played.size();
            sequencer->timerFired();
            if (played.size() > before && !refused.count(played.back().location)) sequencer->playerStopped();
        }
    }
    std::size_t pendingArms() const { return arms.size() - fired; }

    PlaylistQueue queue;
    std::unique_ptr<PlaybackSequencer> sequencer;
    std::vector<int> arms;
    std::size_t fired = 0;
    std::vector<std::string> titles;
    Entries played;
    std::set<std::string> refused;  // locations whose output does not open
    int clears = 0;
    std::optional<std::string> selection;
    int closes = 0;
};

TEST_F(PlaybackSequencerTest, PlaysTheQueueInOrderSkippingEntriesThatCannotPlayAndEndsIdle) {
    queue.append({"a", "a.mp3"});
    queue.append({"nothing", ""});
    queue.append({"refused", "refused.mp3"});
    queue.append({"b", "b.mp3"});
    refused.insert("refused.mp3");
    sequencer->start();
    EXPECT_EQ(sequencer->step(), PlaybackSequencer::PlayNext);
    runUntilIdle();
    // An entry without a location never reaches the player; a refused one is tried and skipped.
    EXPECT_EQ(played, (Entries{{"a", "a.mp3"}, {"refused", "refused.mp3"}, {"b", "b.mp3"}}));
    EXPECT_EQ(titles, (std::vector<std::string>{"a", "nothing", "refused", "b"}));
    EXPECT_EQ(arms, (std::vector<int>{200, 100, 100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(sequencer->step(), PlaybackSequencer::Idle);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(clears, 1);
}

TEST_F(PlaybackSequencerTest, QueuedEntriesStartAtOnceOnlyWhenThePlayerIsDone) {
    const struct {
        int state;
        int step;
        std::vector<int> arms;
    } cases[] = {{XA::Stopped, PlaybackSequencer::PlayNext, {200}},
                 {XA::EndOfStream, PlaybackSequencer::PlayNext, {200}},
                 {XA::Playing, PlaybackSequencer::TakeNext, {}},
                 {XA::Paused, PlaybackSequencer::TakeNext, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        arms.clear();
        sequencer->entriesQueued(c.state);
        EXPECT_EQ(sequencer->step(), c.step);
        EXPECT_EQ(arms, c.arms);
    }
}

TEST_F(PlaybackSequencerTest, StartPlaysTheSelectedEntryFirstAndNothingWithoutAQueuedSelection) {
    const Entries entries{{"a", "a.mp3"}, {"b", "b.mp3"}};
    for (const CTwoStrings& entry : entries) queue.append(entry);
    for (const std::optional<std::string>& missing : {std::optional<std::string>{}, std::optional<std::string>{"gone"}}) {
        SCOPED_TRACE(missing.value_or("no selection"));
        arms.clear();
        selection = missing;
        sequencer->playSelected();
        sequencer->timerFired();
        EXPECT_EQ(arms, std::vector<int>{100});  // its own arming only: nothing follows
        EXPECT_EQ(queue.entries(), entries);
    }
    arms.clear();
    selection = std::string("b");
    sequencer->playSelected();
    runUntilIdle();
    EXPECT_EQ(played, (Entries{{"b", "b.mp3"}, {"a", "a.mp3"}}));
}

TEST_F(PlaybackSequencerTest, StoppedPlayerArmsThePendingStepAndHaltedSequencerStaysIdle) {
    sequencer->playerStopped();
    sequencer->stopAskedWhileStopped();
    EXPECT_TRUE(arms.empty());

    // A step armed before the halt fires into the idle step: nothing is played.
    queue.append({"a", "a.mp3"});
    sequencer->start();
    sequencer->halt();
    sequencer->timerFired();
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(queue.size(), 1u);

    sequencer->entriesQueued(XA::Playing);
    sequencer->stopAskedWhileStopped();
    sequencer->playerStopped();
    EXPECT_EQ(arms, (std::vector<int>{200, 400, 100}));
}

TEST_F(PlaybackSequencerTest, CloseWhenStoppedClosesTheWindowOnTheNextFiring) {
    sequencer->closeWhenStopped();
    sequencer->playerStopped();
    EXPECT_EQ(arms, std::vector<int>{100});
    EXPECT_EQ(closes, 0);
    sequencer->timerFired();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(sequencer->step(), PlaybackSequencer::CloseWindow);
}

} // namespace
