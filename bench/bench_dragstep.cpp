// The drag step with its hit test: time per step and heap allocations per step.
#include "BenchSupport.h"
#include "selection/SelectionGeometry.h"

#include <QElapsedTimer>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> allocations { 0 };
}

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

using namespace SelectionGeometry;

int main()
{
    const QSizeF picture(1920, 1080);
    constexpr int steps = 20'000'000;
    volatile double sink = 0;

    // A press on each handle in turn, then a wobbling drag, past the picture's edges at times,
    // so that free and clamped steps both occur. Video pixels are twice the screen's.
    const QPointF presses[] = { { 2, 2 }, { 2, 150 }, { 2, 297 }, { 200, 297 }, { 397, 297 },
                                { 397, 150 }, { 397, 2 }, { 200, 2 }, { 200, 150 } };
    const QRectF start(560, 240, 800, 600);
    const QRectF shown(280, 120, 400, 300);
    const long long allocationsBefore = allocations;
    QElapsedTimer timer;
    timer.start();
    Press press;
    for (int i = 0; i < steps; ++i) {
        if (i % 64 == 0) {
            const QPointF onScreen = shown.topLeft() + presses[(i / 64) % 9];
            press = { start, onScreen * 2, borderPositionAt(onScreen, shown), 4.0 / 3.0 };
        }
        const QPointF p = press.point + QPointF((i % 64) * 14 - 400, (i % 32) * 18 - 280);
        const QRectF frame = dragStep(press, p, i % 3 == 0, picture);
        sink = sink + frame.width() + double(borderPositionAt(p / 2, QRectF(frame.topLeft() / 2, frame.size() / 2)));
    }
    const double nanoseconds = double(timer.nsecsElapsed()) / steps;
    const long long stepAllocations = allocations - allocationsBefore;

    Bench::report("drag_step_ns", nanoseconds, "ns");
    Bench::report("drag_step_allocs", double(stepAllocations) / steps, "count");
    return sink > 0 ? 0 : 1;
}
