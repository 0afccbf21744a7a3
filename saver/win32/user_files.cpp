#include "user_files.h"

#include <aclapi.h>

#include <vector>

#include "shell_paths.h"
#include "working_file_rules.h"

namespace {

// The TOKEN_USER of the process, read once; empty when the token cannot be read.
const std::vector<BYTE>& ProcessTokenUser() {
  static const std::vector<BYTE> user = [] {
    std::vector<BYTE> buffer;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return buffer;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    buffer.resize(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) buffer.clear();
    CloseHandle(token);
    return buffer;
  }();
  return user;
}

PSID CurrentUser() {
  const std::vector<BYTE>& user = ProcessTokenUser();
  return user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
}

// Owner the user; a protected DACL, so nothing is inherited from the folder,
// with full access for the user and SYSTEM and none for anyone else.
class UserOnlyDescriptor {
 public:
  bool Build(PSID user) {
    DWORD system_size = sizeof system_;
    if (!user || !CreateWellKnownSid(WinLocalSystemSid, nullptr, system_, &system_size)) return false;
    const DWORD ace_size = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
    acl_.resize(sizeof(ACL) + 2 * ace_size + GetLengthSid(user) + GetLengthSid(system_));
    ACL* acl = reinterpret_cast<ACL*>(acl_.data());
    return InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, user) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system_) &&
           InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorOwner(&descriptor_, user, FALSE) &&
           SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
           SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
  }
  SECURITY_DESCRIPTOR* get() { return &descriptor_; }

 private:
  SECURITY_DESCRIPTOR descriptor_ = {};
  BYTE system_[SECURITY_MAX_SID_SIZE] = {};
  std::vector<BYTE> acl_;
};

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FoundFile Inspect(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file, &information)) return FoundFile::kUnreadable;
  if (IsLink(information.dwFileAttributes)) return FoundFile::kLink;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return FoundFile::kUnreadable;
  const PSID user = CurrentUser();
  const bool ours = owner && user && EqualSid(owner, user);
  LocalFree(descriptor);
  return ours ? FoundFile::kOurs : FoundFile::kForeign;
}

// What lies at a name, opened without following a link, with the right to
// remove it. The folder is looked at first: through a linked folder nothing is
// opened. The handle, when there is one, is the caller's to close.
struct Found {
  bool folder_is_link = false;
  FoundFile file = FoundFile::kNothing;
  HANDLE handle = INVALID_HANDLE_VALUE;
};

Found Look(const char* path) {
  Found found;
  found.folder_is_link = IsLink(GetFileAttributesA(OpenableFolder(FolderOf(path)).c_str()));
  if (found.folder_is_link) return found;
  found.handle = CreateFileA(path, DELETE | READ_CONTROL | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (found.handle != INVALID_HANDLE_VALUE) {
    found.file = Inspect(found.handle);
  } else {
    const DWORD error = GetLastError();
    found.file =
        error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FoundFile::kNothing : FoundFile::kUnreadable;
  }
  return found;
}

// The file goes once its last handle is closed; a read-only one stays.
bool MarkForRemoval(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

void Close(HANDLE file) {
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

bool WriteUserFile(const char* path, const FileFiller& fill) {
  const Found found = Look(path);
  const FileStep step = StepBeforeWrite(found.folder_is_link, found.file);
  const bool cleared = step == FileStep::kCreate || (step == FileStep::kReplace && MarkForRemoval(found.handle));
  Close(found.handle);
  UserOnlyDescriptor descriptor;
  if (!cleared || !descriptor.Build(CurrentUser())) return false;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
  // Only a name that is free again is taken: whatever came there meanwhile is not written through.
  const HANDLE file =
      CreateFileA(path, GENERIC_WRITE | DELETE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool filled = fill(file);
  if (!filled) MarkForRemoval(file);
  return CloseHandle(file) && filled;
}

void RemoveUserFile(const char* path) {
  const Found found = Look(path);
  if (RemoveAtEnd(found.folder_is_link, found.file)) MarkForRemoval(found.handle);
  Close(found.handle);
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool CopyInto(const std::string& source, HANDLE file) {
  const HANDLE from = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (from == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(1 << 16);
  bool copied = false;  // only once the end of the file is reached
  for (DWORD read = 0; ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);) {
    if (read == 0) {
      copied = true;
      break;
    }
    if (!WriteAll(file, buffer.data(), read)) break;
  }
  CloseHandle(from);
  return copied;
}
