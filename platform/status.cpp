#include "platform/status.h"

#include <climits>
#include <cstring>

namespace platform {
namespace {

// The last failure in plain bytes: the plug-in's unloading writes files during the program's
// exit, after this thread's objects are gone, and nothing may stay allocated once the plug-in is
// unloaded. Longer texts are cut.
struct FailureRecord {
  int code = 0;
  int system_error = 0;
  char path[PATH_MAX] = {};
  char reason[256] = {};
};

thread_local FailureRecord last_failure;

template <std::size_t N>
void CopyCut(const std::string& text, char (&out)[N]) {
  const std::size_t length = text.size() < N ? text.size() : N - 1;
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

}  // namespace

Status Status::FromErrno(int code, std::string path, int error) {
  Status status(code, std::move(path), error != 0 ? std::strerror(error) : "unknown error");
  status.system_error_ = error;
  return status;
}

std::string Status::Detail() const {
  if (ok()) return {};
  if (path_.empty()) return reason_;
  if (reason_.empty()) return path_;
  return path_ + ": " + reason_;
}

void NoteFailure(const Status& status) {
  if (status.ok()) return;
  last_failure.code = status.code();
  last_failure.system_error = status.system_error();
  CopyCut(status.path(), last_failure.path);
  CopyCut(status.reason(), last_failure.reason);
}

Status LastFailure() {
  const FailureRecord& last = last_failure;
  if (last.code == 0) return {};
  Status status(last.code, last.path, last.reason);
  status.system_error_ = last.system_error;
  return status;
}

void ClearLastFailure() {
  last_failure = FailureRecord{};
}

}  // namespace platform
