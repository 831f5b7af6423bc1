// The platform layer for files: whole-file reads and crash-safe replacement
// of a file, with the error numbers and descriptions a player is shown.
// POSIX rather than iostreams: a save must reach the disk (fsync) before it
// replaces the old file, and the reason of a failure must be known exactly.
#include "store/fileio.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valkoran {

std::string ErrorText(int number, const std::string& description) {
  return "Error # " + std::to_string(number) + "\r" + description;
}

namespace {

std::string ErrnoText(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return ErrorText(70, "Permission denied");
    case ENOSPC:
    case EDQUOT:
      return ErrorText(61, "Disk full");
    case ENOENT:
    case ENOTDIR:
      return ErrorText(76, "Path not found");
    case EISDIR:
    case EROFS:
    case ENAMETOOLONG:
      return ErrorText(75, "Path/File access error");
    default:
      return ErrorText(57, std::string("Device I/O error (") + std::strerror(err) + ")");
  }
}

}  // namespace

namespace fileio {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  return lines;
}

ReadResult ReadAll(const std::string& path, size_t limit) {
  ReadResult r;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    r.notFound = errno == ENOENT;
    r.error = ErrnoText(errno);
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    r.error = ErrnoText(EISDIR);
    return r;
  }
  std::string data;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = ErrnoText(errno);
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
    if (data.size() > limit) {
      ::close(fd);
      r.tooLarge = true;
      r.error = ErrorText(7, "Out of memory");
      return r;
    }
  }
  ::close(fd);
  r.data = std::move(data);
  return r;
}

std::optional<std::string> WriteAtomically(const std::string& path, const std::string& content) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return ErrnoText(EISDIR);
  const fs::path target(path);
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::random_device rd;
  const fs::path temp = dir / ("." + target.filename().string() + ".tmp" + std::to_string(rd()));
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return ErrnoText(errno);
  auto discard = [&](int err) {
    ::unlink(temp.c_str());
    return ErrnoText(err);
  };
  auto fail = [&](int err) {
    ::close(fd);
    return discard(err);
  };
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return fail(errno);
  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  if (::close(fd) != 0) return discard(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) return discard(errno);
  return std::nullopt;
}

}  // namespace fileio

}  // namespace valkoran
