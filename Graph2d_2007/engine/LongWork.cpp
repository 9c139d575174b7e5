// SPDX-License-Identifier: GPL-3.0-or-later
#include "LongWork.h"

namespace {

thread_local const LongWorkHook* CurrentHook = nullptr;

}  // namespace

LongWorkScope::LongWorkScope(const LongWorkHook& hook) : previous_(CurrentHook)
{
    CurrentHook = &hook;
}

LongWorkScope::~LongWorkScope()
{
    CurrentHook = previous_;
}

void PollLongWork()
{
    const LongWorkHook* hook = CurrentHook;
    if (hook == nullptr)
        return;
    if (hook->Progress != nullptr)
        hook->Progress(hook->Context);
    if (hook->Cancel != nullptr && hook->Cancel->load(std::memory_order_relaxed))
        throw EvaluationCancelled();
}

bool LongWorkCancelled() noexcept
{
    const LongWorkHook* hook = CurrentHook;
    return hook != nullptr && hook->Cancel != nullptr && hook->Cancel->load(std::memory_order_relaxed);
}
