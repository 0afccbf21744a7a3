// A form's timer: ticks on the form window's message loop (SetTimer and
// WM_TIMER) every interval while it is enabled. An interval of 0 never ticks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class FormTimer {
 public:
  FormTimer(std::string name, UINT_PTR id, unsigned interval_ms);
  ~FormTimer();
  FormTimer(const FormTimer&) = delete;
  FormTimer& operator=(const FormTimer&) = delete;

  // Binds the timer to its form's window; a timer enabled before that starts then.
  void Attach(HWND window);
  void SetEnabled(bool enabled);
  void SetInterval(unsigned interval_ms);
  // WM_TIMER with this timer's id.
  void Tick();

  bool enabled() const { return enabled_; }
  unsigned interval_ms() const { return interval_ms_; }
  const std::string& name() const { return name_; }
  UINT_PTR id() const { return id_; }

  std::function<void()> on_tick;

 private:
  void Restart();

  std::string name_;
  UINT_PTR id_;
  unsigned interval_ms_;
  bool enabled_ = false;
  HWND window_ = nullptr;
};
