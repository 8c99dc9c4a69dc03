#include "gauges/OverheadControls.h"

namespace tavi::overhead {

namespace {

using platform::Cursor;
using platform::MouseArea;
using platform::MouseControl;

MouseControl mouseControl(Box box, const platform::Tooltip& tooltip, std::vector<MouseArea> areas) {
    return {box.x, box.y, box.width, box.height, &tooltip, std::move(areas)};
}

// The left and right halves of a knob.
std::vector<MouseArea> halves(Box box, platform::MouseHandler down, platform::MouseHandler up,
                              uint32_t events) {
    const int left = box.width / 2;
    return {{0, 0, left, box.height, Cursor::DownArrow, events, down},
            {left, 0, box.width - left, box.height, Cursor::UpArrow, events, up}};
}

} // namespace

double switchIndex(int on, int lit) {
    return twoPositionSwitchIcon(on != 0, lit);
}

double knobIndex(int position, int lit) {
    return threePositionKnobIcon(position, lit);
}

double lightSwitchIndex(int position, int lit) {
    return lightSwitchIcon(position, lit);
}

double guardedIndex(int state, int lit) {
    return guardedButtonIcon((state & 1) != 0, (state & 2) != 0, lit);
}

int guardedState(bool light, bool coverOpen) {
    return (light ? 1 : 0) + (coverOpen ? 2 : 0);
}

void setHidden(GaugeElement& element, bool hidden) {
    if (hidden) {
        element.flags |= platform::kImageHidden;
    } else {
        element.flags &= ~platform::kImageHidden;
    }
}

Control pushButton(Box box, const char* title, const platform::Tooltip& tooltip,
                   platform::MouseHandler handler) {
    return {mouseControl(
                box, tooltip,
                {{0, 0, box.width, box.height, Cursor::Hand, platform::kMouseLeftSingle, handler}}),
            {box, title, Face::Button, {}}};
}

Control guardedButton(Box box, const char* title, const platform::Tooltip& tooltip,
                      platform::MouseHandler handler) {
    return {mouseControl(box, tooltip,
                         {{0, 0, box.width, box.height, Cursor::Hand,
                           platform::kMouseLeftSingle | platform::kMouseRightSingle, handler}}),
            {box, title, Face::Title, {}}};
}

Control knob(Box box, const char* title, std::array<const char*, 3> positions,
             const platform::Tooltip& tooltip, platform::MouseHandler down,
             platform::MouseHandler up, uint32_t events) {
    return {mouseControl(box, tooltip, halves(box, down, up, events)),
            {box, title, Face::Knob, positions}};
}

Control selector(Box box, const char* title, std::array<const char*, 3> ends,
                 const platform::Tooltip& tooltip, platform::MouseHandler down,
                 platform::MouseHandler up, uint32_t events) {
    return {mouseControl(box, tooltip, halves(box, down, up, events)),
            {box, title, Face::Dial, ends}};
}

Control springKnob(Box box, const char* title, const platform::Tooltip& tooltip,
                   platform::MouseHandler down, platform::MouseHandler up, uint32_t events) {
    return {mouseControl(box, tooltip, halves(box, down, up, events)),
            {box, title, Face::Spring, {"-", nullptr, "+"}}};
}

Control toggleSwitch(Box box, const char* title, const platform::Tooltip& tooltip,
                     platform::MouseHandler handler) {
    return {mouseControl(
                box, tooltip,
                {{0, 0, box.width, box.height, Cursor::Hand, platform::kMouseLeftSingle, handler}}),
            {box, title, Face::Title, {}}};
}

Control verticalSwitch(Box box, const char* title, std::array<const char*, 3> positions,
                       const platform::Tooltip& tooltip, platform::MouseHandler down,
                       platform::MouseHandler up) {
    const int upper = box.height / 2;
    return {mouseControl(box, tooltip,
                         {{0, 0, box.width, upper, Cursor::UpArrow, platform::kMouseLeftSingle, up},
                          {0, upper, box.width, box.height - upper, Cursor::DownArrow,
                           platform::kMouseLeftSingle, down}}),
            {box, title, Face::Knob, positions}};
}

GaugeElement icon(const platform::Artwork& artwork, int x, int y, platform::ElementValue value,
                  uint32_t flags) {
    GaugeElement element;
    element.kind = platform::ElementKind::Icon;
    element.artwork = &artwork;
    element.x = x;
    element.y = y;
    element.flags = flags;
    element.value = value;
    return element;
}

GaugeElement needle(const platform::Artwork& artwork, int x, int y, platform::ElementValue value) {
    GaugeElement element;
    element.kind = platform::ElementKind::Needle;
    element.artwork = &artwork;
    element.x = x;
    element.y = y;
    element.value = value;
    element.pivotX = artwork.width / 2;
    element.pivotY = artwork.height / 2;
    element.maxDegreesPerSecond = 90.0;
    return element;
}

} // namespace tavi::overhead
