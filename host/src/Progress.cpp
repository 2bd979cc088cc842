// The progress window drawn as one line on a terminal: the title, the phase with its text, a bar
// and the percentage, redrawn only when what it shows changes.
#include "CADHost.h"
#include "HostState.h"
#include "Progress.h"

#include <csignal>

namespace cadhost {
namespace {

volatile std::sig_atomic_t gCancelPressed = 0;

struct ProgressWindow {
    std::string title;
    int32_t phases = 0;
    int32_t phase = 0;
    std::string text;
    int32_t maximum = 0;
    int32_t value = 0;
    int shown = -1;        // the percentage last drawn; -1 none
    bool open = false;
};

ProgressWindow& window()
{
    static ProgressWindow* state = new ProgressWindow;
    return *state;
}

void draw(bool force)
{
    std::FILE* stream = host().progressStream;
    ProgressWindow& w = window();
    if (stream == nullptr || !w.open) {
        return;
    }
    const int percent = w.maximum > 0 ? static_cast<int>(100.0 * std::min(std::max(w.value, 0), w.maximum) / w.maximum) : 0;
    if (!force && percent == w.shown) {
        return;
    }
    w.shown = percent;
    constexpr int kWidth = 30;
    std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
    bar.resize(kWidth, '-');
    std::fprintf(stream, "\r\033[K%s  %d/%d %s [%s] %3d%%", w.title.c_str(), w.phase, w.phases, w.text.c_str(),
                 bar.c_str(), percent);
    std::fflush(stream);
}

}  // namespace

void progressOpened(const std::string& title, int32_t phases)
{
    ProgressWindow& w = window();
    w = ProgressWindow();
    w.title = title;
    w.phases = phases;
    w.open = true;
    draw(true);
}

void progressPhase(const std::string& text, int32_t maximum)
{
    ProgressWindow& w = window();
    ++w.phase;
    w.text = text;
    w.maximum = maximum;
    w.value = 0;
    draw(true);
}

void progressValue(int32_t value)
{
    window().value = value;
    draw(false);
}

void progressClosed()
{
    ProgressWindow& w = window();
    if (host().progressStream != nullptr && w.open) {
        std::fputs("\r\033[K", host().progressStream);
        std::fflush(host().progressStream);
    }
    w.open = false;
}

bool cancelPressed() { return gCancelPressed != 0; }

void resetCancel() { gCancelPressed = 0; }

void setProgressDisplay(std::FILE* stream) { host().progressStream = stream; }

void pressCancel() { gCancelPressed = 1; }

}  // namespace cadhost
