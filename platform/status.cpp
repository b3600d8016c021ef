#include "platform/status.h"

#include <cstring>

namespace platform {
namespace {

// Ordinary storage, destroyed with the thread: the plug-in is unloaded while the program runs,
// and memory kept past that would be lost.
thread_local Status last_failure;

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
  if (!status.ok()) last_failure = status;
}

const Status& LastFailure() {
  return last_failure;
}

void ClearLastFailure() {
  last_failure = Status();
}

}  // namespace platform
