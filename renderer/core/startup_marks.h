// The ends of the start-up phases (model read, each picture read, each
// texture built), for a benchmark that installs an observer. With none
// installed a mark costs one null test.
#pragma once

using StartupObserver = void (*)(const char* phase);

// Null removes the observer.
void SetStartupObserver(StartupObserver observer);
void MarkStartupPhase(const char* phase);
