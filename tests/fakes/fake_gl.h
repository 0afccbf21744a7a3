// A recording stand-in for OpenGL 1.1 and GLU, linked into the unit tests in
// place of the real libraries: every call is logged with its arguments, and
// the little state the core reads back (enabled caps, texture names, unpack
// alignment, whether a context is current) is kept.
#pragma once

#include <string>
#include <vector>

struct GlCall {
  std::string name;
  std::vector<double> args;  // numbers as given; vectors expanded; pointers omitted
};

namespace fakegl {

constexpr int kMaxTextureSize = 8192;  // what glGetIntegerv(GL_MAX_TEXTURE_SIZE) gives

// Forgets all calls and state; the context starts current.
void Reset();
// Without a current context every call is ignored and glGenTextures yields 0.
void SetContextCurrent(bool current);

const std::vector<GlCall>& Calls();
// Number of logged calls with this name.
int Count(const std::string& name);
// The logged calls with this name, in order.
std::vector<GlCall> CallsNamed(const std::string& name);
// Index of the first call with this name at or after `from`; -1 if none.
int Find(const std::string& name, int from = 0);
// The same for a call with exactly these arguments.
int FindCall(const std::string& name, const std::vector<double>& args, int from = 0);
// The same two searches over a list of calls taken from the log.
int Find(const std::vector<GlCall>& calls, const std::string& name, int from = 0);
int FindCall(const std::vector<GlCall>& calls, const std::string& name, const std::vector<double>& args,
             int from = 0);
// The names of all calls, one per line, for readable test failures.
std::string Trace();

bool IsEnabled(unsigned cap);
int MatrixDepth();  // pushes minus pops on the current stack, over all stacks

}  // namespace fakegl
