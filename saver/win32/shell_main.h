// The shell's whole life: the start-up procedure on this process's command
// line, then the forms' messages until none is loaded, then the end.
#pragma once

[[noreturn]] void RunShell();
