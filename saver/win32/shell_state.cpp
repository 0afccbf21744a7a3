#include "shell_state.h"

ShellState shell;
