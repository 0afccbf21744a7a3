// Text joined from pieces at compile time, so that a path is spelled from its
// parts and each part is written once.
#pragma once

#include <cstddef>

template <std::size_t N>
struct JoinedText {
  char text[N] = {};
};

// The pieces one after another, with one terminating NUL.
template <std::size_t... N>
constexpr JoinedText<(N + ...) - sizeof...(N) + 1> Join(const char (&... pieces)[N]) {
  JoinedText<(N + ...) - sizeof...(N) + 1> joined;
  const char* starts[] = {pieces...};
  const std::size_t lengths[] = {(N - 1)...};
  std::size_t at = 0;
  for (std::size_t piece = 0; piece < sizeof...(N); ++piece) {
    for (std::size_t i = 0; i < lengths[piece]; ++i) joined.text[at++] = starts[piece][i];
  }
  return joined;
}
