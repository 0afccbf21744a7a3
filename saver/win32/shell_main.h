// The shell's whole life: the start-up procedure on this process's command
// line, then the forms' messages until none is loaded, then the end. The
// observer, when given, hears the end of each of the saver run's start-up
// phases.
#pragma once

#include "contract/phase_marks.h"

[[noreturn]] void RunShell(PhaseObserver phase_observer = nullptr);
