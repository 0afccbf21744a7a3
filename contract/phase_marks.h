// How the shell and the renderer tell a benchmark where their start-up phases
// end: each program's run takes an observer as it starts (null: none), and
// marks reach it by name. Nothing installs one.
#pragma once

// Called with the name of the phase just ended; may be null.
using PhaseObserver = void (*)(const char* phase);
