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

void Close(HANDLE handle) {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

bool IsLink(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information;
  return !GetFileInformationByHandle(handle, &information) ||
         (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The file goes once its last handle is closed; a read-only one stays.
bool MarkForRemoval(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

FoundFile Inspect(HANDLE file) {
  if (IsLink(file)) return FoundFile::kLink;  // or unreadable: refused alike
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

// What lies at a name, looked at without following a link, and opened with
// the right to remove it. Its folder is held open, not shared for deletion,
// for as long as the look lasts, so that it can be neither renamed nor
// replaced by a link while its file is written or removed. A folder that
// cannot be held counts as a link: nothing goes through what was not checked.
class Look {
 public:
  explicit Look(const char* path)
      : folder_(CreateFileA(OpenableFolder(FolderOf(path)).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)) {
    folder_is_link_ = folder_ == INVALID_HANDLE_VALUE || IsLink(folder_);
    if (folder_is_link_) return;
    file_ = CreateFileA(path, DELETE | READ_CONTROL | FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    const DWORD error = GetLastError();
    if (file_ != INVALID_HANDLE_VALUE) {
      found_ = Inspect(file_);
    } else if (error != ERROR_FILE_NOT_FOUND) {
      found_ = FoundFile::kUnreadable;
    }
  }
  ~Look() {
    CloseFile();
    Close(folder_);
  }
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  bool folder_is_link() const { return folder_is_link_; }
  FoundFile found() const { return found_; }
  bool MarkFileForRemoval() const { return MarkForRemoval(file_); }
  void CloseFile() {
    Close(file_);
    file_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE folder_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool folder_is_link_ = false;
  FoundFile found_ = FoundFile::kNothing;
};

}  // namespace

bool WriteUserFile(const char* path, const FileFiller& fill) {
  Look look(path);
  const FileStep step = StepBeforeWrite(look.folder_is_link(), look.found());
  const bool cleared = step == FileStep::kCreate || (step == FileStep::kReplace && look.MarkFileForRemoval());
  look.CloseFile();  // the old file goes now
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
  const Look look(path);
  if (RemoveAtEnd(look.folder_is_link(), look.found())) look.MarkFileForRemoval();
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
