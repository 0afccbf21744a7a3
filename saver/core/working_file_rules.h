// Rules for the run's working files: each one is the user's own, written
// fresh and never through a link; the renderer runs only on a complete set;
// the files go when the run ends. The platform reports what lies at each
// name; these rules say what to do with it.
#pragma once

#include <array>
#include <cstddef>

#include "contract/working_files.h"

// The four files in the order the run writes them, the screen picture first.
inline constexpr std::array<const char*, 4> kWorkingFilePaths = {kDesktopPicturePath, kPuffPicturePath, kSkyPicturePath,
                                                                 kModelCopyPath};
using WorkingFileResults = std::array<bool, kWorkingFilePaths.size()>;

// What lies at a working file's name, looked at without following a link.
enum class FoundFile {
  kNothing,     // no file of that name
  kOurs,        // a plain file whose owner is the current user
  kForeign,     // a plain file of another account
  kLink,        // a reparse point: a junction, a symbolic link, a mount point
  kUnreadable,  // something that could not be opened or whose owner could not be read
};

enum class FileStep {
  kCreate,   // make the file new, with a descriptor for the user alone
  kReplace,  // remove ours first, then make it new: a replaced file would keep its old access
  kRefuse,   // leave the name alone; the write has failed
};

// Before a write. A folder that is a link refuses every file in it.
FileStep StepBeforeWrite(bool folder_is_link, FoundFile found);

// When the run ends: only our own plain files are removed, and none through a link.
bool RemoveAtEnd(bool folder_is_link, FoundFile found);

enum class RunStart {
  kResumeRenderer,  // every file was written: the suspended renderer may run
  kAbandonRun,      // end the renderer unstarted and end the run: no flight over files not ours
};

RunStart StartAfterWrites(const WorkingFileResults& written);
