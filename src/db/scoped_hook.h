#pragma once
// A test hook (a prompt answerer, a message observer, a fixed today) installed for the
// lifetime of a scope and removed however the scope is left, so a failing comparison that
// returns early cannot leave it behind for the next test.

#include <utility>

template <typename Hook, void (*install)(Hook)>
class ScopedHook {
public:
    explicit ScopedHook(Hook hook) { install(std::move(hook)); }
    ~ScopedHook() { install(Hook{}); }
    ScopedHook(const ScopedHook &) = delete;
    ScopedHook &operator=(const ScopedHook &) = delete;
};
