#pragma once

#include "config/Status.h"
#include "link/LineTrace.h"

#include <QFile>
#include <QString>
#include <functional>
#include <memory>

namespace ornis {

// A line trace on disk: every transfer into one file, or each into a new file of a folder
// named by the time it started (trace-20240501-142233-120.txt), of which the newest
// KeptFiles are kept.
class TraceFile final : public TraceSink
{
public:
    static constexpr int KeptFiles = 50;

    // One file for all, emptied now; nothing and the reason when it cannot be written.
    [[nodiscard]] static std::unique_ptr<TraceFile> single(const QString &path, Status &status);
    // A file for each transfer in `folder`, made when missing.
    [[nodiscard]] static std::unique_ptr<TraceFile> perTransfer(
        const QString &folder, Status &status);

    // The file written now; empty before the first transfer of a folder.
    [[nodiscard]] QString currentPath() const { return file_.fileName(); }

    // Told once a file when it cannot be written (a full disk: "Cannot write the line trace
    // t.txt: No space left on device"). The transfer goes on; the trace lacks what failed.
    void onWriteFailure(std::function<void(const Status &)> report)
    {
        report_ = std::move(report);
    }

    // TraceSink
    void transferStarts() override;
    void write(std::string_view text) override;
    void flush() override;

private:
    explicit TraceFile(const QString &folder);
    void openNextInFolder();
    void removeOldFiles() const;
    void failed();

    QString folder_; // empty: one file
    QFile file_;
    std::function<void(const Status &)> report_;
    bool fileFailed_ = false; // reported for the file written now
};

} // namespace ornis
