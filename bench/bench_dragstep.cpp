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
    const QRectF holder(0, 0, 960, 540);
    constexpr int steps = 20'000'000;
    volatile double sink = 0;

    // A press on each handle in turn, then a wobbling drag, past the holder's edges at times,
    // so that free and clamped steps both occur.
    const QPointF presses[] = { { 2, 2 }, { 2, 150 }, { 2, 297 }, { 200, 297 }, { 397, 297 },
                                { 397, 150 }, { 397, 2 }, { 200, 2 }, { 200, 150 } };
    const QRectF start(280, 120, 400, 300);
    const long long allocationsBefore = allocations;
    QElapsedTimer timer;
    timer.start();
    Press press;
    for (int i = 0; i < steps; ++i) {
        if (i % 64 == 0) {
            const QPointF own = presses[(i / 64) % 9];
            press = { start, start.topLeft() + own, borderPositionAt(own, start.size()), 4.0 / 3.0 };
        }
        const QPointF p = press.point + QPointF((i % 64) * 7 - 200, (i % 32) * 9 - 140);
        const QRectF frame = dragStep(press, p, i % 3 == 0, holder);
        sink = sink + frame.width() + double(borderPositionAt(p - frame.topLeft(), frame.size()));
    }
    const double nanoseconds = double(timer.nsecsElapsed()) / steps;
    const long long stepAllocations = allocations - allocationsBefore;

    Bench::report("drag_step_ns", nanoseconds, "ns");
    Bench::report("drag_step_allocs", double(stepAllocations) / steps, "count");
    return sink > 0 ? 0 : 1;
}
