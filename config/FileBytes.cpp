#include "FileBytes.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace ornis {

namespace fs = std::filesystem;

namespace {

class FileCloser
{
public:
    explicit FileCloser(std::FILE *file)
        : file_(file)
    {
    }
    ~FileCloser()
    {
        if (file_)
            std::fclose(file_);
    }
    FileCloser(const FileCloser &) = delete;
    FileCloser &operator=(const FileCloser &) = delete;

    [[nodiscard]] std::FILE *get() const { return file_; }
    [[nodiscard]] bool close()
    {
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return closed;
    }

private:
    std::FILE *file_;
};

std::string temporaryName()
{
    static std::atomic<unsigned> counter {0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return ".ornisset-" + std::to_string(ticks) + "-" + std::to_string(counter++) + ".tmp";
}

// Writes, flushes and closes; the data must be on the disk before the rename makes it
// the file, or a crash could leave an empty file where the old one was.
bool writeAndClose(FileCloser &file, std::span<const uint8_t> bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    if (std::fflush(file.get()) != 0)
        return false;
#if defined(__unix__) || defined(__APPLE__)
    if (::fsync(::fileno(file.get())) != 0)
        return false;
#endif
    return file.close();
}

} // namespace

bool readFileBytes(const fs::path &path, std::vector<uint8_t> &bytes)
{
    FileCloser file(std::fopen(path.string().c_str(), "rb"));
    if (!file.get())
        return false;
    std::vector<uint8_t> content;
    uint8_t chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        content.insert(content.end(), chunk, chunk + count);
    if (std::ferror(file.get()))
        return false;
    bytes = std::move(content);
    return true;
}

bool writeFileAtomically(const fs::path &path, std::span<const uint8_t> bytes)
{
    std::error_code error;
    // Through a symbolic link the file it names is replaced and the link stays.
    fs::path target = path;
    if (fs::is_symlink(path, error)) {
        target = fs::weakly_canonical(path, error);
        if (error)
            return false;
    }

    fs::path temporary;
    std::FILE *created = nullptr;
    for (int attempt = 0; attempt < 100 && !created; ++attempt) {
        temporary = target.parent_path() / temporaryName();
        // "x": never open a file someone else made in the meantime.
        created = std::fopen(temporary.string().c_str(), "wbx");
        if (!created && errno != EEXIST)
            return false;
    }
    if (!created)
        return false;
    FileCloser file(created);

    const fs::file_status previous = fs::status(target, error);
    if (!error && fs::is_regular_file(previous))
        fs::permissions(temporary, previous.permissions(), error);

    bool written = writeAndClose(file, bytes);
    if (written) {
        fs::rename(temporary, target, error);
        written = !error;
    }
    if (!written)
        fs::remove(temporary, error);
    return written;
}

} // namespace ornis
