// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageStop.h"

#include <utility>

namespace {

// Asking the page costs a call out of the module: a look every so many
// points keeps a 1731-point press quick and still stops within a moment.
constexpr unsigned PointsBetweenLooks = 64;

}  // namespace

PageStop::PageStop(std::function<bool()> asked) : asked_(std::move(asked))
{
    hook_.Cancel = &stopped_;
    hook_.Progress = &PageStop::Poll;
    hook_.Context = this;
}

bool PageStop::Asked()
{
    if (!stopped_.load(std::memory_order_relaxed) && asked_ && asked_())
        stopped_.store(true, std::memory_order_relaxed);
    return stopped_.load(std::memory_order_relaxed);
}

void PageStop::ThrowIfAsked()
{
    if (Asked())
        throw EvaluationCancelled();
}

void PageStop::Poll(void* context)
{
    static_cast<PageStop*>(context)->Asked();
}

const LongWorkHook& PageStop::FreshHook()
{
    stopped_.store(false, std::memory_order_relaxed);
    return hook_;
}

PageStop::Scope::Scope(PageStop& stop) : hook_(stop.FreshHook())
{
}

void ReplayHost::Pause()
{
    if (++pauses_ % PointsBetweenLooks == 0)
        stop_.ThrowIfAsked();
}
