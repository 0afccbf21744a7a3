#include "startup_marks.h"

namespace {

StartupObserver g_observer = nullptr;

}  // namespace

void SetStartupObserver(StartupObserver observer) { g_observer = observer; }

void MarkStartupPhase(const char* phase) {
  if (g_observer) g_observer(phase);
}
