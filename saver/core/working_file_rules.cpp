#include "working_file_rules.h"

#include <algorithm>

FileStep StepBeforeWrite(bool folder_is_link, FoundFile found) {
  if (folder_is_link) return FileStep::kRefuse;
  switch (found) {
    case FoundFile::kNothing:
      return FileStep::kCreate;
    case FoundFile::kOurs:
      return FileStep::kReplace;
    case FoundFile::kForeign:
    case FoundFile::kLink:
    case FoundFile::kUnreadable:
      break;
  }
  return FileStep::kRefuse;
}

bool RemoveAtEnd(bool folder_is_link, FoundFile found) { return !folder_is_link && found == FoundFile::kOurs; }

RunStart StartAfterWrites(const WorkingFileResults& written) {
  const bool complete = std::all_of(written.begin(), written.end(), [](bool file_written) { return file_written; });
  return complete ? RunStart::kResumeRenderer : RunStart::kAbandonRun;
}
