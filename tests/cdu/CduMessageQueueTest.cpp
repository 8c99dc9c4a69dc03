#include "cdu/CduMessageQueue.h"

#include "cdu/CduScreen.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi {
namespace {

class CduMessageQueueTest : public ::testing::Test {
protected:
    std::vector<std::string> order() const {
        std::vector<std::string> texts;
        for (const CduMessage& message : queue.messages()) {
            texts.push_back(message.text);
        }
        return texts;
    }

    CduMessageQueue queue;
};

TEST_F(CduMessageQueueTest, RepeatOfTheShownMessageIsIgnored) {
    EXPECT_TRUE(queue.post({"INVALID ENTRY", 100, false}));
    EXPECT_FALSE(queue.post({"INVALID ENTRY", 200, false}));
    queue.removeFront();
    EXPECT_TRUE(queue.empty());
}

TEST_F(CduMessageQueueTest, NewestShowsFirstAndOlderOnesReappear) {
    queue.post({"DISCONTINUITY", 1000, false});
    queue.post({"INVALID ENTRY", 2000, false});
    EXPECT_EQ(queue.front().text, "INVALID ENTRY");
    queue.removeFront();
    EXPECT_EQ(queue.front().text, "DISCONTINUITY");
    queue.removeFront();
    EXPECT_TRUE(queue.empty());
}

TEST_F(CduMessageQueueTest, PriorityDecidesBetweenMessagesOfTheSameTime) {
    queue.post({"INVALID ENTRY", 1000, false});
    queue.post({"LAST LEG", 1000, true});
    EXPECT_EQ(order(), (std::vector<std::string>{"LAST LEG", "INVALID ENTRY"}));
    queue.post({"NO FLIGHT PLAN", 1000, false});
    EXPECT_EQ(order(), (std::vector<std::string>{"LAST LEG", "INVALID ENTRY", "NO FLIGHT PLAN"}));
}

// Every post re-sorts the whole queue: an older priority message overtakes a newer plain one
// behind the front, while the newest message still shows first.
TEST_F(CduMessageQueueTest, EveryPostResortsTheWholeQueue) {
    queue.post({"LAST LEG", 1000, true});
    queue.post({"DISCONTINUITY", 2000, false});
    EXPECT_EQ(order(), (std::vector<std::string>{"DISCONTINUITY", "LAST LEG"}));
    queue.post({"INVALID ENTRY", 2000, false});
    EXPECT_EQ(order(), (std::vector<std::string>{"INVALID ENTRY", "LAST LEG", "DISCONTINUITY"}));
}

TEST_F(CduMessageQueueTest, TimeStampsCompareAsUnsignedNumbers) {
    queue.post({"OLD", 0x7FFFFFFFu, false});
    queue.post({"NEW", 0x80000000u, false});
    EXPECT_EQ(order(), (std::vector<std::string>{"NEW", "OLD"}));
}

TEST_F(CduMessageQueueTest, AMessageEqualToOneBehindTheFrontIsQueuedAgain) {
    queue.post({"A", 1000, false});
    queue.post({"B", 2000, false});
    EXPECT_TRUE(queue.post({"A", 3000, false}));
    EXPECT_EQ(order(), (std::vector<std::string>{"A", "B", "A"}));
}

TEST_F(CduMessageQueueTest, WithdrawTakesBackOnlyTheFrontMessage) {
    queue.post({"CHECK ALT CONSTRAINT", 1000, true});
    queue.post({"INVALID ENTRY", 2000, false});
    EXPECT_FALSE(queue.withdraw("CHECK ALT CONSTRAINT"));
    EXPECT_EQ(queue.messages().size(), 2u);
    EXPECT_TRUE(queue.withdraw("INVALID ENTRY"));
    EXPECT_EQ(order(), (std::vector<std::string>{"CHECK ALT CONSTRAINT"}));
}

TEST_F(CduMessageQueueTest, RemovingFromAnEmptyQueueDoesNothing) {
    queue.removeFront();
    EXPECT_FALSE(queue.withdraw("INVALID ENTRY"));
    EXPECT_TRUE(queue.empty());
}

TEST_F(CduMessageQueueTest, FrontMessageIsDrawnOnTheScratchpadRow) {
    CduScreen screen;
    queue.post({"OLD", 1000, false});
    queue.post({"NEW", 2000, false});
    queue.draw(screen);
    EXPECT_EQ(screen.rowText(CduScreen::kScratchpadRow).substr(0, 4), U"NEW ");
    EXPECT_EQ(screen.cell(CduScreen::kScratchpadRow, 0),
              (CduCell{U'N', CduColour::White, false, true}));
}

} // namespace
} // namespace tavi
