#include "editions/render/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

namespace tools {

namespace {

namespace fs = std::filesystem;

constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
// As many as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The temporary files there are now, for the signal handler: changed only with the ending
// signals held.
std::vector<std::string> temporaries;

// Holds the ending signals back while it lives.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kEndingSignals) sigaddset(&held, signal);
        sigprocmask(SIG_BLOCK, &held, &previous_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

void RemoveTemporariesAndEnd(int signal) {
    for (const std::string& name : temporaries) unlink(name.c_str());
    // Ends the program once the handler returns, as the signal would have.
    std::signal(signal, SIG_DFL);
    raise(signal);
}

std::string Reason(int error) { return std::strerror(error); }

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Where a path leads: a file, with its symbolic links followed (also to a file that is not there
// yet) and its folder made canonical; or, for a name of one of our open descriptors
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N), that descriptor.
struct Destination {
    fs::path file;
    std::optional<int> descriptor;
};

Destination Resolve(const std::string& path) {
    std::error_code error;
    fs::path file = fs::absolute(path, error);
    const fs::path descriptors = "/proc/" + std::to_string(getpid()) + "/fd";
    for (int links = 0; !error; ++links) {
        const fs::path folder = fs::canonical(file.parent_path(), error);
        if (error) break;
        if (folder == descriptors) {
            const std::string name = file.filename();
            int descriptor = -1;
            const auto [end, failure] =
                std::from_chars(name.data(), name.data() + name.size(), descriptor);
            if (failure != std::errc() || end != name.data() + name.size()) {
                throw OutputFile::Unwritable(Reason(ENOENT));
            }
            return {{}, descriptor};
        }
        file = folder / file.filename();
        struct stat status {};
        if (lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return {file, {}};
        if (links == kMaxLinks) throw OutputFile::Unwritable(Reason(ELOOP));
        file = folder / fs::read_symlink(file, error);
    }
    throw OutputFile::Unwritable(error.message());
}

}  // namespace

bool EnsureStandardDescriptors() {
    // Standard input opened for writing and the outputs for reading: any use of them fails.
    const int modes[] = {O_WRONLY, O_RDONLY, O_RDONLY};
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        if (open("/dev/null", modes[descriptor] | O_NOCTTY) != descriptor) return false;
    }
    return true;
}

void RemoveTemporaryFilesOnSignals() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

std::string Quoted(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            quoted += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

OutputFile::OutputFile(const std::string& path) : path_(path) {
    if (path == "-") {
        useDescriptor(STDOUT_FILENO);
        return;
    }
    const Destination destination = Resolve(path);
    if (destination.descriptor) {
        // A copy shares the offset and the mode: what the shell opened for appending is appended
        // to.
        const int copy = fcntl(*destination.descriptor, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        if (copy < 0) throw Unwritable(Reason(errno));
        useDescriptor(copy);
        return;
    }
    target_ = destination.file.string();

    struct stat status {};
    if (stat(target_.c_str(), &status) == 0) {
        device_ = status.st_dev;
        inode_ = status.st_ino;
        if (S_ISDIR(status.st_mode)) throw Unwritable(Reason(EISDIR));
        if (access(target_.c_str(), W_OK) != 0) throw Unwritable(Reason(errno));
        if (!S_ISREG(status.st_mode)) {
            // A device or a pipe is written in place: it cannot be replaced, and must not be.
            descriptor_ = open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            if (descriptor_ < 0) throw Unwritable(Reason(errno));
            return;
        }
    } else if (errno != ENOENT) {
        throw Unwritable(Reason(errno));
    }

    const std::string folder = destination.file.parent_path();
    if (const int error = createTemporary(folder)) {
        throw Unwritable((device_ ? "the file that replaces it cannot be created in "
                                  : "it cannot be created in ") +
                         Quoted(folder) + ": " + Reason(error));
    }
    // The new file gets the old one's permissions and, where we may, its owner.
    if (device_) {
        if (fchown(descriptor_, status.st_uid, status.st_gid) != 0) {
            // Only the owner may give a file away: the new one stays ours.
        }
        fchmod(descriptor_, status.st_mode & 07777);
    } else {
        fchmod(descriptor_, 0666 & ~CurrentUmask());
    }
}

OutputFile::~OutputFile() {
    if (descriptor_ > STDERR_FILENO) close(descriptor_);
    if (!temporary_.empty()) {
        const SignalsHeld held;
        unlink(temporary_.c_str());
        forgetTemporary();
    }
}

void OutputFile::useDescriptor(int descriptor) {
    descriptor_ = descriptor;
    struct stat status {};
    if (fstat(descriptor, &status) == 0) {
        device_ = status.st_dev;
        inode_ = status.st_ino;
    }
}

int OutputFile::createTemporary(const std::string& folder) {
    std::string name = folder + "/.velmora-render-XXXXXX";
    temporaries.reserve(temporaries.size() + 1);
    // Listed for the signal handler as it is created.
    const SignalsHeld held;
    descriptor_ = mkostemp(name.data(), O_CLOEXEC);
    if (descriptor_ < 0) return errno;
    temporaries.push_back(name);
    temporary_ = name;
    return 0;
}

void OutputFile::forgetTemporary() {
    temporaries.erase(std::find(temporaries.begin(), temporaries.end(), temporary_));
    temporary_.clear();
}

bool OutputFile::sameFileAs(const OutputFile& other) const {
    if (device_ && other.device_) return *device_ == *other.device_ && *inode_ == *other.inode_;
    return !target_.empty() && target_ == other.target_;
}

std::string OutputFile::write(const std::string& content) {
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t written = ::write(descriptor_, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Reason(written < 0 ? errno : EIO);
        done += static_cast<std::size_t>(written);
    }
    if (temporary_.empty()) return "";
    // On the disk before it replaces anything; close reports what a network file system kept.
    const bool synced = fsync(descriptor_) == 0;
    const int error = errno;
    const bool closed = close(descriptor_) == 0;
    descriptor_ = -1;
    if (!synced) return Reason(error);
    return closed ? "" : Reason(errno);
}

std::string OutputFile::replace() {
    if (temporary_.empty()) return "";
    const SignalsHeld held;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) return Reason(errno);
    forgetTemporary();
    return "";
}

}  // namespace tools
