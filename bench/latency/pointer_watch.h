// The pointer events injected on this desktop, as a low-level mouse hook on a thread of its own sees
// them: each stamped with the performance counter on arrival.
#pragma once

#include <windows.h>

#include <vector>

#include "latency_pairing.h"

class PointerWatch {
  public:
    explicit PointerWatch(size_t capacity) { arrivals_.reserve(capacity); }
    ~PointerWatch() { Stop(); }
    PointerWatch(const PointerWatch&) = delete;
    PointerWatch& operator=(const PointerWatch&) = delete;

    bool Start();  // false when the hook cannot be installed
    void Stop();
    // The arrivals (kind: the pzbench::PointerAction); read after Stop.
    const std::vector<pzbench::Arrival>& Arrivals() const { return arrivals_; }

  private:
    static DWORD WINAPI Thread(void* parameter);
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::vector<pzbench::Arrival> arrivals_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    bool hooked_ = false;
};
