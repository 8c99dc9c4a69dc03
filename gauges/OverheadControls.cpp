#include "gauges/OverheadControls.h"

namespace tavi::overhead {

using platform::Cursor;
using platform::MouseArea;
using platform::MouseControl;

namespace {

MouseControl controlIn(Box box, const platform::Tooltip& tooltip, std::vector<MouseArea> areas) {
    return mouseControl(box.x, box.y, box.width, box.height, &tooltip, std::move(areas));
}

} // namespace

double switchIndex(int on, int lit) {
    return twoPositionSwitchIcon(on != 0, lit);
}

double guardedIndex(int state, int lit) {
    return guardedButtonIcon((state & 1) != 0, (state & 2) != 0, lit);
}

int guardedState(bool light, bool coverOpen) {
    return (light ? 1 : 0) + (coverOpen ? 2 : 0);
}

Control pushButtonControl(Box box, const char* title, const platform::Tooltip& tooltip,
                          platform::MouseHandler handler) {
    return {controlIn(box, tooltip, {wholeArea(box.width, box.height, handler)}),
            {box, title, Face::Button, {}}};
}

Control guardedButton(Box box, const char* title, const platform::Tooltip& tooltip,
                      platform::MouseHandler handler) {
    return {controlIn(box, tooltip, {wholeArea(box.width, box.height, handler, kBothClicks)}),
            {box, title, Face::Title, {}}};
}

Control knob(Box box, const char* title, std::array<const char*, 3> positions,
             const platform::Tooltip& tooltip, platform::MouseHandler down,
             platform::MouseHandler up, uint32_t events) {
    return {controlIn(box, tooltip, knobHalves(box.width, box.height, down, up, events)),
            {box, title, Face::Knob, positions}};
}

Control selector(Box box, const char* title, std::array<const char*, 3> ends,
                 const platform::Tooltip& tooltip, platform::MouseHandler down,
                 platform::MouseHandler up, uint32_t events) {
    return {controlIn(box, tooltip, knobHalves(box.width, box.height, down, up, events)),
            {box, title, Face::Dial, ends}};
}

Control springKnob(Box box, const char* title, const platform::Tooltip& tooltip,
                   platform::MouseHandler down, platform::MouseHandler up, uint32_t events) {
    return {controlIn(box, tooltip, knobHalves(box.width, box.height, down, up, events)),
            {box, title, Face::Spring, {"-", nullptr, "+"}}};
}

Control toggleSwitch(Box box, const char* title, const platform::Tooltip& tooltip,
                     platform::MouseHandler handler) {
    return {controlIn(box, tooltip, {wholeArea(box.width, box.height, handler)}),
            {box, title, Face::Title, {}}};
}

Control verticalSwitch(Box box, const char* title, std::array<const char*, 3> positions,
                       const platform::Tooltip& tooltip, platform::MouseHandler down,
                       platform::MouseHandler up) {
    const int upper = box.height / 2;
    MouseArea lower = wholeArea(box.width, box.height - upper, down, platform::kMouseLeftSingle,
                                Cursor::DownArrow);
    lower.y = upper;
    return {controlIn(box, tooltip,
                      {wholeArea(box.width, upper, up, platform::kMouseLeftSingle, Cursor::UpArrow),
                       lower}),
            {box, title, Face::Knob, positions}};
}

GaugeElement needle(const platform::Artwork& artwork, int x, int y, platform::ElementValue value) {
    return needleElement(artwork, x, y, artwork.width / 2, artwork.height / 2, 90.0, value);
}

} // namespace tavi::overhead
