#include "form_timer.h"

#include <utility>

FormTimer::FormTimer(std::string name, UINT_PTR id, unsigned interval_ms)
    : name_(std::move(name)), id_(id), interval_ms_(interval_ms) {}

FormTimer::~FormTimer() {
  if (window_) KillTimer(window_, id_);
}

void FormTimer::Attach(HWND window) {
  window_ = window;
  Restart();
}

void FormTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void FormTimer::SetInterval(unsigned interval_ms) {
  interval_ms_ = interval_ms;
  Restart();
}

void FormTimer::Tick() {
  // A WM_TIMER already queued when the timer was switched off is dropped.
  if (enabled_ && interval_ms_ > 0 && on_tick) on_tick();
}

// Setting or switching the timer starts its interval afresh.
void FormTimer::Restart() {
  if (!window_) return;
  if (enabled_ && interval_ms_ > 0) {
    SetTimer(window_, id_, interval_ms_, nullptr);
  } else {
    KillTimer(window_, id_);
  }
}
