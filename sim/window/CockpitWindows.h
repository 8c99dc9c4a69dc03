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
// one is given. The time runs in real time: each 1/18 s of the clock the tick runs one simulator
// step, then the panel draws a frame.
class CockpitWindows : public QWidget {
    Q_OBJECT

public:
    CockpitWindows(PanelHost& host, Simulator& simulator, std::function<void()> tick,
                   QSize screen = QSize());
    ~CockpitWindows() override;

    // One step of the run, as the real-time clock calls it.
    void tick();
    PanelView* view(int32_t ident) const;

private:
    void showOpenWindows();

    PanelHost& host_;
    Simulator& simulator_;
    std::function<void()> step_;
    std::map<int32_t, std::unique_ptr<PanelView>> views_;
    std::map<int32_t, QCheckBox*> switches_;
    QTimer clock_;
};

// Runs the cockpit on the desktop until its window list is closed; answers the exit code.
int runCockpitWindows(int argc, char** argv, PanelHost& host, Simulator& simulator,
                      std::function<void()> tick);

} // namespace tavi::sim
