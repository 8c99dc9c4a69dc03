#include "displays/Pfd.h"

#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"
#include "support/ScreenShots.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(PfdSmoke, Cruise) {
    FlightScenario flight;
    flight.startInFlight(46.96, 7.62, 12000.0, 60.0, 250.0);
    flight.fly(70.0);
    const char* out = std::getenv("PFD_SHOTS");
    if (out) {
        writeScreens(flight.aircraft(), out, 2);
    }
}

} // namespace
} // namespace tavi::test
