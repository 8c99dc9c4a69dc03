#pragma once

#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/System.h"
#include "displays/PanelElement.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tavi::test {

// A system that writes every call it receives into a shared journal, and consumes the keys it
// is given.
class RecordingSystem : public System {
public:
    RecordingSystem(std::vector<std::string>& journal, std::string name,
                    std::set<uint32_t> keys = {}, bool wantsEvents = false)
        : journal(journal), name(std::move(name)), keys(std::move(keys)), wantsEvents(wantsEvents) {
    }

    void update(Aircraft&) override { journal.push_back("update " + name); }
    void preUpdate(Aircraft&) override { journal.push_back("preUpdate " + name); }
    void loadSettings(Aircraft&) override { journal.push_back("loadSettings " + name); }
    void updatePower(Aircraft&) override { journal.push_back("updatePower " + name); }
    bool handleKey(Aircraft&, uint32_t key, bool shift, bool ctrl) override {
        journal.push_back(
            format("key %s %u%s%s", name.c_str(), key, shift ? " shift" : "", ctrl ? " ctrl" : ""));
        return keys.contains(key);
    }
    void handleSimEvent(uint32_t eventId, uint32_t data) override {
        journal.push_back(format("event %s %u %u", name.c_str(), eventId, data));
    }
    bool wantsSimEvents() override { return wantsEvents; }

private:
    std::vector<std::string>& journal;
    std::string name;
    std::set<uint32_t> keys;
    bool wantsEvents;
};

class RecordingScreen : public PanelElement {
public:
    RecordingScreen(std::vector<std::string>& journal, std::string name)
        : journal(journal), name(std::move(name)) {}

    void update(Aircraft&) override { journal.push_back("update " + name); }
    void updatePower(Aircraft&) override { journal.push_back("updatePower " + name); }

private:
    std::vector<std::string>& journal;
    std::string name;
};

} // namespace tavi::test
