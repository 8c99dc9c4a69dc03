#include "cdu/CduMessageQueue.h"

#include "cdu/CduScreen.h"

#include <algorithm>
#include <utility>

namespace tavi {

bool CduMessageQueue::showsBefore(const CduMessage& a, const CduMessage& b) {
    return (a.priority && !b.priority) || a.postTime > b.postTime;
}

bool CduMessageQueue::post(CduMessage message) {
    if (!queue.empty() && queue.front().text == message.text) {
        return false;
    }
    queue.push_back(std::move(message));
    insertionSort();
    return true;
}

// The order is not a strict weak order (an older priority message and a newer plain one each
// show before the other), so the queue is sorted by this exact insertion rather than a library
// sort: an element that shows before the front becomes the front, any other moves back past the
// preceding elements it shows before.
void CduMessageQueue::insertionSort() {
    for (size_t i = 1; i < queue.size(); ++i) {
        CduMessage moving = std::move(queue[i]);
        size_t place = i;
        if (showsBefore(moving, queue.front())) {
            place = 0;
        } else {
            while (place > 0 && showsBefore(moving, queue[place - 1])) {
                --place;
            }
        }
        std::move_backward(queue.begin() + static_cast<std::ptrdiff_t>(place),
                           queue.begin() + static_cast<std::ptrdiff_t>(i),
                           queue.begin() + static_cast<std::ptrdiff_t>(i + 1));
        queue[place] = std::move(moving);
    }
}

void CduMessageQueue::removeFront() {
    if (!queue.empty()) {
        queue.erase(queue.begin());
    }
}

bool CduMessageQueue::withdraw(std::string_view text) {
    if (queue.empty() || queue.front().text != text) {
        return false;
    }
    removeFront();
    return true;
}

void CduMessageQueue::draw(CduScreen& screen) const {
    if (!queue.empty()) {
        screen.putText(CduScreen::kScratchpadRow, 0, queue.front().text, CduColour::White, true,
                       false);
    }
}

} // namespace tavi
