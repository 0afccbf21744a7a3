// A command line read against one table of options: each option's spellings,
// whether it takes a value, and what it does with it, written once.
#pragma once

#include <cstddef>
#include <string>

template <typename Options>
struct OptionEntry {
  const char* name;
  const char* other_name;  // another spelling, or null
  bool takes_value;
  // Stores the option (value is empty for one without); false with a reason
  // in *error for a value it refuses.
  bool (*apply)(Options& options, const std::string& value, std::string* error);
};

// Reads argv[1..] over *options. False with a reason in *error for an unknown
// option, a missing value or a refused one.
template <typename Options, std::size_t N>
bool ParseOptionTable(int argc, const char* const* argv, const OptionEntry<Options> (&table)[N], Options* options,
                      std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const OptionEntry<Options>* entry = nullptr;
    for (const OptionEntry<Options>& candidate : table) {
      if (option == candidate.name || (candidate.other_name && option == candidate.other_name)) entry = &candidate;
    }
    if (!entry) {
      *error = "unknown option " + option;
      return false;
    }
    std::string value;
    if (entry->takes_value) {
      if (i + 1 >= argc) {
        *error = option + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!entry->apply(*options, value, error)) return false;
  }
  return true;
}

// Parses a whole unsigned decimal number up to limit; false for anything else.
bool ParseUnsigned(const std::string& text, unsigned long long limit, unsigned long long* value);
