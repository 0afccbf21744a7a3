#include "file_trust.h"

bool IsTrustedFile(const OpenedFileFacts& facts) {
  return facts.known && !facts.reparse_point && facts.owner_is_user;
}
