#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class CduScreen;

// A message for the pilot on the CDU's scratch-pad line.
struct CduMessage {
    std::string text;
    // Simulation time in ms when the message was posted.
    uint32_t postTime = 0;
    bool priority = false;
};

// The messages waiting for the pilot, the one shown first. The newest message normally shows
// first and the older ones reappear as the pilot clears the front; the priority flag decides
// between messages posted at the same time. Messages never expire.
class CduMessageQueue {
public:
    // Queues a message unless its text is the one already shown; returns whether it was queued.
    bool post(CduMessage message);
    bool empty() const { return queue.empty(); }
    const CduMessage& front() const { return queue.front(); }
    const std::vector<CduMessage>& messages() const { return queue; }
    void removeFront();
    // Removes the front message when it has exactly this text; a message behind it stays.
    bool withdraw(std::string_view text);
    void clear() { queue.clear(); }

    // The front message on the scratch-pad row, white and large.
    void draw(CduScreen& screen) const;

private:
    static bool showsBefore(const CduMessage& a, const CduMessage& b);
    void insertionSort();

    std::vector<CduMessage> queue;
};

} // namespace tavi
