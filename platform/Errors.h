#pragma once
// The platform's exceptions. Each carries the exact message a user sees.

#include <stdexcept>
#include <string>

// Base of every error the platform layer raises.
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened: "Cannot open file %s".
class EFOpenError : public EPlatformError {
 public:
  explicit EFOpenError(const std::string& Path) : EPlatformError("Cannot open file " + Path) {}
};

// A file that cannot be created or replaced: "Cannot create file %s".
class EFCreateError : public EPlatformError {
 public:
  explicit EFCreateError(const std::string& Path) : EPlatformError("Cannot create file " + Path) {}
};

// A stream that holds fewer bytes than a read needs: "Stream read error".
class EReadError : public EPlatformError {
 public:
  EReadError() : EPlatformError("Stream read error") {}
};

// A stream that cannot take the bytes written to it: "Stream write error".
class EWriteError : public EPlatformError {
 public:
  EWriteError() : EPlatformError("Stream write error") {}
};

// A string list index outside the list: "List index out of bounds (%d)".
class EStringListError : public EPlatformError {
 public:
  explicit EStringListError(long long Index)
      : EPlatformError("List index out of bounds (" + std::to_string(Index) + ")"), Index(Index) {}
  long long Index;
};

// A file that is not a bitmap the reader accepts: "Bitmap image is not valid".
class EInvalidGraphic : public EPlatformError {
 public:
  EInvalidGraphic() : EPlatformError("Bitmap image is not valid") {}
};

// Any other failure with its own message (a format problem that says where).
class EFormatError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};
