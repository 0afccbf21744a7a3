// The renderer's one optional argument. Started with none, it switches the
// primary monitor to 1024 x 768 and covers the others; with this one, it keeps
// every mode as it is and flies over the whole desktop.
#pragma once

constexpr char kEveryMonitorArgument[] = "/everymonitor";
