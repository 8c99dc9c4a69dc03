#pragma once

#include "sim/PanelHost.h"
#include "sim/Simulator.h"

#include <QSize>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QCheckBox;

namespace tavi::sim {

// How much a window of the size is shrunk to fit the screen area: 1 when it fits as it is.
double fittingScale(int width, int height, QSize screen);

// One panel window of the layout on the desktop: it shows the window's last composited picture,
// shrunk to fit the screen where it is larger, hands the mouse (in the panel window's pixels) to
// the panel and the keyboard to the simulator's keyboard hook.
class PanelView : public QWidget {
    Q_OBJECT

public:
    PanelView(PanelHost& host, Simulator& simulator, const PanelWindow& window, QSize screen);

    int32_t ident() const { return ident_; }
    // Widget pixels per panel window pixel.
    double scale() const { return scale_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void sendKey(QKeyEvent* event, bool down);

    PanelHost& host_;
    Simulator& simulator_;
    int32_t ident_;
    double scale_;
};

// The cockpit on the desktop: a view per panel window, shown while the simulator has the window
// open, and a list of the windows that opens and closes them; closing the list ends the run.
// Each view fits the screen area, the primary screen's free area less a window frame unless
// one is given. Simulated time follows the wall clock: the timer runs as many simulator steps as
// the time gone by since the start calls for, then the panel draws a frame.
class CockpitWindows : public QWidget {
    Q_OBJECT

public:
    // Seconds of the wall clock, from any fixed origin.
    using WallClock = std::function<double()>;
    // A desktop that falls further behind than this drops the time it cannot catch up on.
    static constexpr int kMostStepsAFrame = 18;

    CockpitWindows(PanelHost& host, Simulator& simulator, std::function<void()> tick,
                   QSize screen = QSize(), WallClock wallClock = steadySeconds);
    ~CockpitWindows() override;

    // One step of the run, then a frame.
    void tick();
    // The steps the wall clock calls for since the start, then a frame; nothing while none is
    // due.
    void keepPace();
    int64_t stepsRun() const { return stepsRun_; }
    PanelView* view(int32_t ident) const;

    static double steadySeconds();

private:
    void runSteps(int64_t count);
    void showOpenWindows();

    PanelHost& host_;
    Simulator& simulator_;
    std::function<void()> step_;
    WallClock wallClock_;
    double startSeconds_;
    int64_t stepsRun_ = 0;
    std::map<int32_t, std::unique_ptr<PanelView>> views_;
    std::map<int32_t, QCheckBox*> switches_;
    QTimer clock_;
};

// Runs the cockpit on the desktop until its window list is closed; answers the exit code.
int runCockpitWindows(int argc, char** argv, PanelHost& host, Simulator& simulator,
                      std::function<void()> tick);

} // namespace tavi::sim
