// An ordered bag of text properties: the design-time property storage a
// control instance keeps, held as plain data so any host can save it.
#pragma once

#include <string>
#include <utility>
#include <vector>

class PropertyStore {
 public:
  using Entry = std::pair<std::string, std::string>;

  // Stores a value; a key already present keeps its place, a new key goes last.
  void Write(const std::string& key, const std::string& value);
  // The stored value, or default_value when the key is absent.
  std::string Read(const std::string& key, const std::string& default_value) const;
  bool Has(const std::string& key) const;
  const std::vector<Entry>& Entries() const { return entries_; }

  // One "key=value" line per entry, in order; '\', '=', CR and LF are escaped.
  std::string Serialise() const;
  // The inverse of Serialise; false (and *store untouched) for malformed text.
  static bool Parse(const std::string& text, PropertyStore* store);

 private:
  std::vector<Entry> entries_;
};
