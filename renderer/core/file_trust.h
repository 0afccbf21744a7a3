// Which opened working files the renderer may read. Any local account can
// reach the working folder, so a file another account could have put in the
// saver's place is taken for a file that is not there.
#pragma once

// What the platform tells about a file from the handle the reader then reads.
struct OpenedFileFacts {
  bool known = false;          // the attributes and the owner could both be read
  bool reparse_point = false;  // a link, junction or mount point at the file's name
  // Owned by the renderer's own user. The saver names the user as the owner
  // of each file it writes, elevated or not, so no group owner is taken: a
  // file owned by the Administrators group may be any administrator's.
  bool owner_is_user = false;
};

// True for a file of the renderer's own user that is no reparse point; a
// file it is not is read as missing.
bool IsTrustedFile(const OpenedFileFacts& facts);
