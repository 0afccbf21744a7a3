// Files that are the current user's alone: each is written fresh, with a
// descriptor that owns it to the user and lets in only the user and SYSTEM,
// never through a link and never over another account's file, and is removed
// the same way. What lies at a name is read on the handle that then removes it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

// Writes the file's bytes; false when it could not.
using FileFiller = std::function<bool(HANDLE file)>;

// Makes path new and fills it. False when the name is refused (a link, the
// folder a link, a file of another account or one that cannot be replaced),
// or the file cannot be made or filled; a file left half-filled is removed.
bool WriteUserFile(const char* path, const FileFiller& fill);

// Removes the file at path when it is ours and no link leads to it.
void RemoveUserFile(const char* path);

// Writes all size bytes at the file's position.
bool WriteAll(HANDLE file, const void* data, size_t size);

// Writes the whole file at source into file.
bool CopyInto(const std::string& source, HANDLE file);
