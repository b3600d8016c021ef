// A small status value: a code (the caller's own code space; 0 means success), the path of the
// file it concerns and the system's reason, so that a message can say what failed and why.
#pragma once

#include <string>

namespace platform {

class Status {
 public:
  Status() = default;
  Status(int code, std::string path, std::string reason)
      : code_(code), path_(std::move(path)), reason_(std::move(reason)) {}
  // The reason is the system's text for errno value `error`.
  static Status FromErrno(int code, std::string path, int error);

  bool ok() const { return code_ == 0; }
  int code() const { return code_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }
  // The errno value behind the failure, 0 when it did not come from the system.
  int system_error() const { return system_error_; }
  // The same failure under another code space's code.
  Status WithCode(int code) const {
    Status status = *this;
    status.code_ = code;
    return status;
  }
  // The same failure concerning another file.
  Status WithPath(std::string path) const {
    Status status = *this;
    status.path_ = std::move(path);
    return status;
  }
  // "PATH: REASON" (either part left out when unknown); empty for success.
  std::string Detail() const;

 private:
  friend Status LastFailure();

  int code_ = 0;
  std::string path_;
  std::string reason_;
  int system_error_ = 0;
};

// Codes of the platform's own file functions; callers translate them into theirs.
enum FileFailure : int {
  kFileOpenFailed = 1,    // the file or its temporary file cannot be created or opened
  kFileReadFailed = 2,    // reading failed
  kFileWriteFailed = 3,   // writing, syncing or renaming failed
  kFileChangedMeanwhile,  // the target changed since it was read; it was left as it is
};

// The last file failure of this thread, for callers whose interface carries only a code (like
// errno, it is set on failure and not cleared on success).
void NoteFailure(const Status& status);
Status LastFailure();
void ClearLastFailure();

}  // namespace platform
