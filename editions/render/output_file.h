// An output file of velmora-render that never damages what the user has. A regular file, or one
// that does not exist yet, is written to a temporary file beside it, which replaces it only once
// everything was written; a device, a pipe or an open descriptor (/dev/stdout, /dev/fd/N) is
// written directly; "-" is standard output.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace tools {

// Opens descriptors 0 to 2 on /dev/null where they are closed, each in the mode that makes its
// use fail, so that a file opened later never takes their place (an error message written into
// the user's picture). False if that was impossible.
bool EnsureStandardDescriptors();

// Has SIGHUP, SIGINT, SIGQUIT and SIGTERM remove the temporary files before they end the
// program as they would have; a signal that is ignored stays ignored.
void RemoveTemporaryFilesOnSignals();

// Quotes a text for a one-line message: in single quotes, control characters escaped.
std::string Quoted(const std::string& text);

class OutputFile {
  public:
    // The place cannot be written; the text says why.
    struct Unwritable : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Makes sure the path can be written (the temporary file is created now) and touches nothing
    // that is there. Symbolic links are followed, also to a file that does not exist yet.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& path() const { return path_; }
    // Whether both name the same file, however spelled.
    bool sameFileAs(const OutputFile& other) const;

    // Writes the content in full (to the temporary file, where there is one) and returns "", or
    // the reason it failed.
    std::string write(const std::string& content);
    // Puts the written file in place of the old one; "" or the reason it failed.
    std::string replace();

  private:
    // Writes to the open descriptor, in place.
    void useDescriptor(int descriptor);
    // 0, or the error that kept it from being created.
    int createTemporary(const std::string& folder);
    void forgetTemporary();

    std::string path_;
    std::string target_;           // the resolved path; empty for a descriptor
    std::optional<dev_t> device_;  // of the file that is there
    std::optional<ino_t> inode_;
    std::string temporary_;  // empty when writing directly
    int descriptor_ = -1;    // ours to close unless it is standard output
};

}  // namespace tools
