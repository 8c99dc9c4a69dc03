#include "sim/window/CockpitWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace tavi::sim {

namespace {

// Room a window manager's frame and title bar take around a window.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

QSize freeScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return {};
    }
    const QSize free = screen->availableGeometry().size();
    return {free.width() - kFrameWidth, free.height() - kFrameHeight};
}
// The timer looks at the wall clock several times a tick, so that each step runs within a few
// milliseconds of its time.
constexpr int kPaceCheckMs = 10;

// The keys of the keyboard as the simulator's keyboard hook numbers them.
uint32_t virtualKey(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<uint32_t>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 0x70 + static_cast<uint32_t>(key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Plus:
        return 0xBB;
    case Qt::Key_Minus:
        return 0xBD;
    case Qt::Key_Period:
        return 0xBE;
    case Qt::Key_Slash:
        return 0xBF;
    default:
        return 0;
    }
}

MouseButton buttonOf(const QMouseEvent& event) {
    return event.button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
}

Qt::CursorShape cursorShape(platform::Cursor cursor) {
    switch (cursor) {
    case platform::Cursor::Hand:
        return Qt::PointingHandCursor;
    case platform::Cursor::UpArrow:
        return Qt::UpArrowCursor;
    case platform::Cursor::DownArrow:
        return Qt::SizeVerCursor;
    case platform::Cursor::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

double fittingScale(int width, int height, QSize screen) {
    if (screen.width() <= 0 || screen.height() <= 0) {
        return 1.0;
    }
    return std::min({1.0, double(screen.width()) / width, double(screen.height()) / height});
}

PanelView::PanelView(PanelHost& host, Simulator& simulator, const PanelWindow& window, QSize screen)
    : host_(host), simulator_(simulator), ident_(window.ident),
      scale_(fittingScale(window.width, window.height, screen)) {
    setWindowTitle(QString::fromStdString("TAVI - " + window.title));
    setFixedSize(static_cast<int>(std::floor(window.width * scale_)),
                 static_cast<int>(std::floor(window.height * scale_)));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The run ends with the window list, not with the last panel window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void PanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const platform::gfx::Surface* picture = host_.picture(ident_);
    if (!picture || !picture->data()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const QImage image(picture->data(), picture->pixelWidth(), picture->pixelHeight(),
                       picture->stride(), QImage::Format_ARGB32_Premultiplied);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale_, scale_);
    painter.drawImage(0, 0, image);
}

void PanelView::mousePressEvent(QMouseEvent* event) {
    host_.press(ident_, event->position().x() / scale_, event->position().y() / scale_,
                buttonOf(*event));
}

void PanelView::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x() / scale_;
    const double y = event->position().y() / scale_;
    host_.move(ident_, x, y);
    setCursor(cursorShape(host_.cursorAt(ident_, x, y)));
}

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
    host_.release(ident_, event->position().x() / scale_, event->position().y() / scale_,
                  buttonOf(*event));
}

void PanelView::sendKey(QKeyEvent* event, bool down) {
    const uint32_t key = virtualKey(*event);
    if (key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    simulator_.host.key(key, down, (event->modifiers() & Qt::AltModifier) != 0,
                        event->isAutoRepeat());
}

void PanelView::keyPressEvent(QKeyEvent* event) {
    sendKey(event, true);
}

void PanelView::keyReleaseEvent(QKeyEvent* event) {
    sendKey(event, false);
}

bool PanelView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::string text =
            host_.tooltipAt(ident_, help->pos().x() / scale_, help->pos().y() / scale_);
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdString(text), this);
        }
        return true;
    }
    return QWidget::event(event);
}

// Closing a panel window closes it in the simulator, as its own close button would.
void PanelView::closeEvent(QCloseEvent* event) {
    if (ident_ == PanelLayout::kVirtualCockpit) {
        simulator_.panel.openPanelWindow(0);
    } else {
        simulator_.panel.closePanelWindow(ident_);
    }
    event->accept();
}

CockpitWindows::CockpitWindows(PanelHost& host, Simulator& simulator, std::function<void()> tick,
                               QSize screen, WallClock wallClock)
    : host_(host), simulator_(simulator), step_(std::move(tick)), wallClock_(std::move(wallClock)),
      startSeconds_(wallClock_()) {
    if (screen.isEmpty()) {
        screen = freeScreenArea();
    }
    setWindowTitle("TAVI panels");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Panel windows:"));
    for (const PanelWindow& window : host_.layout().windows) {
        views_[window.ident] = std::make_unique<PanelView>(host_, simulator_, window, screen);
        auto* shown = new QCheckBox(QString::fromStdString(window.title));
        const int32_t ident = window.ident;
        connect(shown, &QCheckBox::clicked, this, [this, ident](bool open) {
            const int32_t simulatorWindow = ident == PanelLayout::kVirtualCockpit ? 0 : ident;
            const bool openInSimulator = ident == PanelLayout::kVirtualCockpit ? !open : open;
            simulator_.panel.setPanelWindowOpen(simulatorWindow, openInSimulator);
            showOpenWindows();
        });
        layout->addWidget(shown);
        switches_[ident] = shown;
    }
    connect(&clock_, &QTimer::timeout, this, &CockpitWindows::keepPace);
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.start(kPaceCheckMs);
    host_.frame();
    showOpenWindows();
}

CockpitWindows::~CockpitWindows() = default;

double CockpitWindows::steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void CockpitWindows::tick() {
    runSteps(1);
}

void CockpitWindows::keepPace() {
    const auto due =
        static_cast<int64_t>(std::floor((wallClock_() - startSeconds_) / Simulator::kTickSeconds));
    if (due - stepsRun_ > kMostStepsAFrame) {
        stepsRun_ = due - kMostStepsAFrame;
    }
    if (due > stepsRun_) {
        runSteps(due - stepsRun_);
    }
}

void CockpitWindows::runSteps(int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        step_();
        host_.elapse(Simulator::kTickSeconds);
        ++stepsRun_;
    }
    host_.frame();
    showOpenWindows();
}

void CockpitWindows::showOpenWindows() {
    for (const auto& [ident, view] : views_) {
        const bool shown = host_.isShown(ident);
        if (view->isVisible() != shown) {
            view->setVisible(shown);
        }
        if (shown) {
            view->update();
        }
        switches_[ident]->setChecked(shown);
    }
}

PanelView* CockpitWindows::view(int32_t ident) const {
    const auto found = views_.find(ident);
    return found == views_.end() ? nullptr : found->second.get();
}

int runCockpitWindows(int argc, char** argv, PanelHost& host, Simulator& simulator,
                      std::function<void()> tick) {
    QApplication application(argc, argv);
    CockpitWindows cockpit(host, simulator, std::move(tick));
    cockpit.show();
    return application.exec();
}

} // namespace tavi::sim
