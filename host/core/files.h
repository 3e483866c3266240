// Files the host reads and writes, in one place: what is read must be a regular file (a
// FIFO, device, socket or folder is refused at once, without blocking on it), and what is
// written is written to a fresh temporary name beside the target and renamed over it at
// the end, only ever replacing a regular file.
//
//   std::string text, why;
//   if (!read_input_file(path, "panel file", 16 << 20, text, &why)) fail(path, why);  // "a FIFO (named pipe), not a panel file"
//   if (text.size() > 16 << 20) ...                                             // larger than the limit
//
//   AtomicOutput out;
//   if (!out.open("panel.png", &why)) fail(why);       // refuses /dev/full, a link, a folder
//   std::fputs("...", out.file());
//   if (!out.commit(&why)) fail(why);                  // else the old panel.png is left as it was
//
// Builds for Linux and Windows.
#ifndef TARN_HOST_FILES_H
#define TARN_HOST_FILES_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace tarn {

// Whether PATH names a regular file that can be read: false and "a folder, not a WHAT"
// (or a FIFO, a device, a socket; "cannot open the WHAT: reason" when it is not there).
// Reasons leave out the path: callers name the file as their messages do.
bool check_input_file(const std::string& path, const char* what, std::string* error);

// Reads the regular file PATH into BYTES, at most max_bytes + 1 bytes (so a caller sees
// that it is larger than max_bytes without reading it all). BYTES grows with what is
// read, never to more than the file holds plus one byte. False and a reason when it is
// not a regular file or cannot be read.
bool read_input_file(const std::string& path, const char* what, size_t max_bytes, std::string& bytes,
                     std::string* error);

// Whether PATH may be written: it does not exist or is a regular file (not a link, folder,
// FIFO or device). False and "cannot write PATH: a device, not a regular file".
bool check_output_path(const std::string& path, std::string* error);

// A file written under a fresh temporary name in the target's folder (NAME.XXXXXX) and
// renamed over the target by commit(); dropped without commit, the temporary file is
// removed and the target left as it was.
class AtomicOutput {
public:
    AtomicOutput() = default;
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    bool open(const std::string& path, std::string* error);
    std::FILE* file() const { return file_; }
    // Flushes, closes and renames; false and a reason (the target untouched) on any failure.
    bool commit(std::string* error);
    // The temporary file's name while open (for tests).
    const std::string& temp_path() const { return temp_; }

private:
    void discard();
    std::string path_, temp_;
    std::FILE* file_ = nullptr;
};

// BYTES written to PATH through an AtomicOutput.
bool write_file_atomically(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace tarn

#endif
