#include "trusted_file.h"

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <vector>

#include "file_trust.h"

namespace {

// The process token's information of one class (TokenUser); empty on failure.
std::vector<unsigned char> TokenInformation(TOKEN_INFORMATION_CLASS kind) {
  std::vector<unsigned char> information;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return information;
  DWORD size = 0;
  GetTokenInformation(token, kind, nullptr, 0, &size);
  information.resize(size);
  if (size == 0 || !GetTokenInformation(token, kind, information.data(), size, &size)) information.clear();
  CloseHandle(token);
  return information;
}

// Asks the platform what IsTrustedFile judges, about the open handle itself.
OpenedFileFacts FactsOf(HANDLE file) {
  OpenedFileFacts facts;
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file, &information)) return facts;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return facts;
  const std::vector<unsigned char> user = TokenInformation(TokenUser);
  if (owner && !user.empty()) {
    facts.known = true;
    facts.reparse_point = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.owner_is_user = EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid) != FALSE;
  }
  LocalFree(descriptor);
  return facts;
}

}  // namespace

TrustedOpen OpenTrustedFile(const char* path, HANDLE* file) {
  // With FILE_FLAG_OPEN_REPARSE_POINT a link is opened itself, not followed
  // (to another file, or to a share), and FactsOf sees what it is.
  const HANDLE opened = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return TrustedOpen::kFailed;
  if (!IsTrustedFile(FactsOf(opened))) {
    CloseHandle(opened);
    return TrustedOpen::kMissing;
  }
  *file = opened;
  return TrustedOpen::kOpened;
}

std::FILE* OpenTrustedStream(const char* path) {
  HANDLE file = INVALID_HANDLE_VALUE;
  if (OpenTrustedFile(path, &file) != TrustedOpen::kOpened) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(descriptor, "rb");
  if (!stream) _close(descriptor);  // closes the handle too
  return stream;
}
