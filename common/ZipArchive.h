#pragma once

#include "config/Status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

// The files of a zip archive held in memory, read through minizip. A file is unpacked only
// up to a limit, whatever size the archive claims for it, so an archive that would unpack to
// far more (a zip bomb) is refused at the limit.

namespace ornis {

class ZipArchive
{
public:
    // Reads the archive's directory; `bytes` must outlive the archive.
    explicit ZipArchive(QByteArrayView bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // Whether the bytes are a zip archive whose directory could be read.
    [[nodiscard]] bool isOpen() const { return archive_ != nullptr; }

    // The bytes of the file `name` (in any case, as the parts of a workbook are named); fails
    // when the archive holds no such file, or it is encrypted, damaged or unpacks to more
    // than `limit` bytes.
    [[nodiscard]] Status read(const QString &name, qsizetype limit, QByteArray &bytes);

    struct Source; // the bytes and the place minizip reads at, for its callbacks

private:
    std::unique_ptr<Source> source_;
    void *archive_ = nullptr;
};

} // namespace ornis
