#include "platform/status.h"

#include <cstring>

#include "platform/no_destructor.h"

namespace platform {
namespace {

thread_local NoDestructor<Status> last_failure;

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
  if (!status.ok()) *last_failure.get() = status;
}

const Status& LastFailure() {
  return *last_failure.get();
}

void ClearLastFailure() {
  *last_failure.get() = Status();
}

}  // namespace platform
