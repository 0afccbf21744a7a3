// The ends of the saver run's start-up phases (form made, desktop captured,
// each working file written, renderer started), for a benchmark that installs
// an observer. With none installed a mark costs one null test.
#pragma once

using RunPhaseObserver = void (*)(const char* phase);

// Null removes the observer.
inline RunPhaseObserver run_phase_observer = nullptr;

inline void MarkRunPhase(const char* phase) {
  if (run_phase_observer) run_phase_observer(phase);
}
