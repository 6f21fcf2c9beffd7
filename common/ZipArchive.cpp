#include "ZipArchive.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <minizip/unzip.h>

namespace ornis {

// minizip reads through these callbacks, as from a file: the stream is the Source itself.
struct ZipArchive::Source
{
    QByteArrayView bytes;
    ZPOS64_T at = 0;
};

namespace {

using Source = ZipArchive::Source;

constexpr int AnyCase = 2; // unzLocateFile: compare names without regard to case
constexpr unsigned long Encrypted = 1; // bit 0 of a file's general purpose flags

voidpf openSource(voidpf, const void *source, int)
{
    return const_cast<void *>(source);
}

uLong readSource(voidpf, voidpf stream, void *buffer, uLong size)
{
    Source &source = *static_cast<Source *>(stream);
    const ZPOS64_T left = ZPOS64_T(source.bytes.size()) - source.at;
    const uLong count = uLong(std::min<ZPOS64_T>(size, left));
    std::memcpy(buffer, source.bytes.data() + source.at, count);
    source.at += count;
    return count;
}

uLong writeNothing(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T tellSource(voidpf, voidpf stream)
{
    return static_cast<Source *>(stream)->at;
}

long seekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    Source &source = *static_cast<Source *>(stream);
    const ZPOS64_T size = ZPOS64_T(source.bytes.size());
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = source.at;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = size;
    // The offset is unsigned: a place past either end is refused, never wrapped around.
    if (offset > size || base > size - offset)
        return -1;
    source.at = base + offset;
    return 0;
}

int closeSource(voidpf, voidpf)
{
    return 0;
}

int noError(voidpf, voidpf)
{
    return 0;
}

} // namespace

ZipArchive::ZipArchive(QByteArrayView bytes)
    : source_(std::make_unique<Source>(Source {bytes}))
{
    zlib_filefunc64_def functions {openSource, readSource, writeNothing, tellSource, seekSource,
        closeSource, noError, nullptr};
    archive_ = unzOpen2_64(source_.get(), &functions);
}

ZipArchive::~ZipArchive()
{
    if (archive_)
        unzClose(archive_);
}

Status ZipArchive::read(const QString &name, qsizetype limit, QByteArray &bytes)
{
    const std::string file = name.toStdString();
    if (!archive_ || unzLocateFile(archive_, file.c_str(), AnyCase) != UNZ_OK)
        return Status::failure("holds no " + file);
    unz_file_info64 info {};
    if (unzGetCurrentFileInfo64(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return Status::failure(file + " is damaged");
    if (info.flag & Encrypted)
        return Status::failure(file + " is encrypted");
    const std::string tooLarge
        = file + " unpacks to more than " + std::to_string(limit / 1024) + " KiB";
    if (info.uncompressed_size > uint64_t(limit))
        return Status::failure(tooLarge);
    if (unzOpenCurrentFile(archive_) != UNZ_OK)
        return Status::failure(file + " is packed in a way that cannot be read");
    // The claimed size decides nothing: at most one byte past the limit is unpacked.
    QByteArray read;
    std::array<char, 16384> chunk {};
    int count = 0;
    while (read.size() <= limit
        && (count = unzReadCurrentFile(archive_, chunk.data(), unsigned(chunk.size()))) > 0)
        read.append(chunk.data(), std::min<qsizetype>(count, limit + 1 - read.size()));
    const int closed = unzCloseCurrentFile(archive_);
    if (read.size() > limit)
        return Status::failure(tooLarge);
    if (count < 0 || closed != UNZ_OK)
        return Status::failure(file + " is damaged");
    bytes = std::move(read);
    return Status::success();
}

} // namespace ornis
