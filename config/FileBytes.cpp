#include "FileBytes.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>
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

std::string systemReason(int error)
{
    return std::generic_category().message(error);
}

Status cannotCreate(const fs::path &path, const std::string &reason)
{
    return Status::failure("Cannot create file " + path.string() + ": " + reason);
}

// Writes, flushes and closes; the data must be on the disk before the rename makes it
// the file, or a crash could leave an empty file where the old one was. Returns the
// reason of a failure; empty when none.
std::string writeAndClose(FileCloser &file, std::span<const uint8_t> bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return systemReason(errno);
    if (std::fflush(file.get()) != 0)
        return systemReason(errno);
#if defined(__unix__) || defined(__APPLE__)
    if (::fsync(::fileno(file.get())) != 0)
        return systemReason(errno);
#endif
    if (!file.close())
        return systemReason(errno);
    return {};
}

} // namespace

Status readFileBytes(const fs::path &path, std::vector<uint8_t> &bytes)
{
    FileCloser file(std::fopen(path.string().c_str(), "rb"));
    if (!file.get())
        return Status::failure("Cannot open file " + path.string() + ": " + systemReason(errno));
    // Whatever size the file reports (a pipe reports none), at most one byte past the limit
    // is read.
    std::vector<uint8_t> content;
    uint8_t chunk[65536];
    std::size_t count = 0;
    const auto wanted
        = [&content] { return std::min(sizeof chunk, MaxFileBytes + 1 - content.size()); };
    while ((count = std::fread(chunk, 1, wanted(), file.get())) > 0) {
        content.insert(content.end(), chunk, chunk + count);
        if (content.size() > MaxFileBytes)
            return Status::failure("Cannot read file " + path.string() + ": it holds more than "
                + MaxFileSizeText + ", the most a file may hold");
    }
    if (std::ferror(file.get()))
        return Status::failure("Cannot read file " + path.string() + ": " + systemReason(errno));
    bytes = std::move(content);
    return Status::success();
}

Status writeFileAtomically(const fs::path &path, std::span<const uint8_t> bytes)
{
    std::error_code error;
    // Through a symbolic link the file it names is replaced and the link stays.
    fs::path target = path;
    if (fs::is_symlink(path, error)) {
        target = fs::weakly_canonical(path, error);
        if (error)
            return cannotCreate(path, error.message());
    }

    fs::path temporary;
    std::FILE *created = nullptr;
    for (int attempt = 0; attempt < 100 && !created; ++attempt) {
        temporary = target.parent_path() / temporaryName();
        // "x": never open a file someone else made in the meantime.
        created = std::fopen(temporary.string().c_str(), "wbx");
        if (!created && errno != EEXIST)
            return cannotCreate(path, systemReason(errno));
    }
    if (!created)
        return cannotCreate(path, "no free temporary name in its folder");
    FileCloser file(created);

    const fs::file_status previous = fs::status(target, error);
    if (!error && fs::is_regular_file(previous))
        fs::permissions(temporary, previous.permissions(), error);

    std::string reason = writeAndClose(file, bytes);
    if (reason.empty()) {
        fs::rename(temporary, target, error);
        if (error)
            reason = error.message();
    }
    if (!reason.empty()) {
        fs::remove(temporary, error);
        return cannotCreate(path, reason);
    }
    return Status::success();
}

} // namespace ornis
