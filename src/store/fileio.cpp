// The platform layer for files: whole-file reads and crash-safe replacement
// of a file, with the error numbers and descriptions a player is shown.
// POSIX rather than iostreams: a save must reach the disk (fsync) before it
// replaces the old file, and the reason of a failure must be known exactly.
#include "store/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <csignal>

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
    case EINVAL:
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
  // Not blocking on the open: a FIFO would otherwise wait for a writer for ever.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    r.notFound = errno == ENOENT;
    r.error = ErrnoText(errno);
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    r.error = ErrnoText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return r;
  }
  std::string data;
  // The whole file in one allocation: growing by doubling would briefly hold
  // half as much again.
  data.reserve(std::min(static_cast<size_t>(st.st_size), limit) + 1);
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
    if (data.size() + static_cast<size_t>(n) > limit) {
      ::close(fd);
      r.tooLarge = true;
      r.error = ErrorText(7, "Out of memory");
      return r;
    }
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  r.data = std::move(data);
  return r;
}

namespace {

// The file a path names once symbolic links are followed, so that saving
// through a link replaces the file it points to and keeps the link. A link
// to nothing yet names the file to create.
std::optional<std::string> FollowLinks(std::string path, int& err) {
  namespace fs = std::filesystem;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<size_t>(n) >= link.size()) {
      err = n < 0 ? errno : ENAMETOOLONG;
      return std::nullopt;
    }
    link.resize(static_cast<size_t>(n));
    const fs::path next(link);
    path = next.is_absolute() ? next.string() : (fs::path(path).parent_path() / next).string();
  }
  err = ELOOP;
  return std::nullopt;
}

// While a save writes, a file-size limit must fail the write (and so the
// save, which then removes its scratch file) instead of ending the program.
class IgnoreFileSizeSignal {
 public:
  IgnoreFileSizeSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    active_ = ::sigaction(SIGXFSZ, &ignore, &old_) == 0;
  }
  ~IgnoreFileSizeSignal() {
    if (active_) ::sigaction(SIGXFSZ, &old_, nullptr);
  }
  IgnoreFileSizeSignal(const IgnoreFileSizeSignal&) = delete;
  IgnoreFileSizeSignal& operator=(const IgnoreFileSizeSignal&) = delete;

 private:
  struct sigaction old_ {};
  bool active_ = false;
};

// The rename lives in the folder: until the folder reaches the disk, a power
// cut may bring back the old file, or none. The file is already in place, so
// a folder that cannot be synced (some file systems refuse) fails nothing.
void SyncFolder(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  while (::fsync(fd) != 0 && errno == EINTR) {
  }
  ::close(fd);
}

}  // namespace

std::optional<std::string> WriteAtomically(const std::string& path, const std::string& content) {
  namespace fs = std::filesystem;
  int err = 0;
  const std::optional<std::string> resolved = FollowLinks(path, err);
  if (!resolved) return ErrnoText(err);
  const std::string& target = *resolved;
  // Only a plain file is replaced: renaming over a FIFO or a device would
  // put a file where the system expects something else.
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return ErrnoText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  const fs::path file(target);
  const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
  // A short scratch name: any name the target may have still leaves room.
  static const char* const kHex = "0123456789abcdef";
  std::random_device rd;
  std::string scratch = ".valkoran-";
  for (int i = 0; i < 2; ++i)
    for (unsigned v = rd(), k = 0; k < 8; ++k, v >>= 4) scratch += kHex[v & 15];
  const fs::path temp = dir / (scratch + ".tmp");

  IgnoreFileSizeSignal keepRunning;
  // A file being replaced may be private: its new text is no one else's to
  // read while it is written, and takes the old file's bits at the end.
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0644);
  if (fd < 0) return ErrnoText(errno);
  auto discard = [&](int e) {
    ::unlink(temp.c_str());
    return ErrnoText(e);
  };
  auto fail = [&](int e) {
    ::close(fd);
    return discard(e);
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
  if (exists) {
    // The file stays whose it was: root saving a player's game must not take
    // it from him, and anyone keeps the group he may keep. The owner goes
    // first, as a change of owner clears the set-id bits. A file system
    // without owners or modes refuses both; the save goes on, and a scratch
    // file that kept its own bits is private rather than open.
    auto bestEffort = [](int) {};
    if (::geteuid() == 0) {
      bestEffort(::fchown(fd, st.st_uid, st.st_gid));
    } else if (st.st_gid != ::getegid()) {
      bestEffort(::fchown(fd, static_cast<uid_t>(-1), st.st_gid));
    }
    bestEffort(::fchmod(fd, st.st_mode & 07777));
  }
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) return discard(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return discard(errno);
  SyncFolder(dir);
  return std::nullopt;
}

}  // namespace fileio

}  // namespace valkoran
