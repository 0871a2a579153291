// The batch: worker threads take the pictures in order; the calling thread writes the
// finished results and messages in that same order and keeps the progress line.
#include "cli/BatchRun.h"

#include "cli/BatchNames.h"
#include "cli/OrderedWork.h"
#include "cli/Progress.h"
#include "cli/ToolExit.h"
#include "cli/ToolText.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mGlyfora {

namespace {

// The folder's own name without trailing slashes, so messages and paths read cleanly.
QString FolderName(QString folder) {
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

// Whether a file can be made in the folder, tried with a real (unnamed, at once removed)
// file: permissions alone do not tell on a read-only disk or for root.
QString FolderProblem(const QString& folder) {
    const QByteArray path = platform::EncodeFileName(folder);
    int fd = ::open(path.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        QByteArray probe = path + "/.glyfora-convert.XXXXXX";
        fd = ::mkostemp(probe.data(), O_CLOEXEC);
        if (fd >= 0)
            ::unlink(probe.constData());
    }
    if (fd < 0)
        return platform::SystemError(errno);
    ::close(fd);
    return QString();
}

struct Slot {
    PictureOutcome outcome;
    QString failedName; // the picture or the output file, when not ok
    QByteArray result;  // for standard output
};

} // namespace

int DefaultJobCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

int RunBatch(const BatchJob& job, int out, int messages) {
    const QString standardOutput = ToolText::tr("standard output");
    const int total = int(job.pictures.size());
    const bool toFolder = !job.outputFolder.isEmpty();
    // Results written to the same terminal would be torn apart by the line.
    const bool resultsOnTerminal = !toFolder && ::isatty(out) == 1;
    const bool showProgress =
        job.progress && total > 1 && ::isatty(messages) == 1 && !resultsOnTerminal;
    // Before the batch starts, a failure is one line with no progress around it.
    ProgressLine before(messages, total, false);
    QString folder;
    QStringList targets;
    platform::OutputFile stdoutFile(out); // closed unused when the results go to files
    if (toFolder) {
        folder = FolderName(job.outputFolder);
        if (const QString problem = FolderProblem(folder); !problem.isEmpty()) {
            before.Message(platform::ShownFileName(folder) + QStringLiteral(": ") +
                           ToolText::tr("cannot write into this folder: %1").arg(problem));
            return ToolFailure;
        }
        const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
        for (const QString& name : OutputFileNames(job.pictures, job.suffix))
            targets << prefix + name;
    } else if (!stdoutFile.Open()) {
        before.Message(standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
        return ToolFailure;
    }
    ProgressLine progress(messages, total, showProgress);

    // Results for standard output wait in memory for their turn: a picture starts only
    // when fewer than `jobs` pictures are being converted or waiting, so memory holds at
    // most that many. Files need no waiting; their messages still come out in order.
    std::atomic<int> failed = 0;
    const PictureFiles pictureFiles(toFolder ? job.pictures : QStringList());
    const auto convert = [&](int i) {
        Slot slot;
        const QString& picture = job.pictures.at(i);
        const QString shownName =
            picture == QLatin1String("-") ? StandardInputName() : platform::ShownFileName(picture);
        const qsizetype replaced = toFolder ? pictureFiles.Find(targets.at(i)) : -1;
        if (replaced >= 0) {
            slot.outcome =
                PictureOutcome{false, true, ReplacesPictureText(job.pictures, i, replaced)};
            slot.failedName = platform::ShownFileName(targets.at(i));
        } else if (toFolder) {
            platform::OutputFile file(targets.at(i), platform::OutputFile::Durability::Unsynced);
            FileOutput output(file);
            slot.outcome = ConvertPicture(picture, job.options, output);
            slot.failedName =
                slot.outcome.outputFailed ? platform::ShownFileName(targets.at(i)) : shownName;
        } else {
            MemoryOutput output;
            slot.outcome = ConvertPicture(picture, job.options, output);
            slot.failedName = shownName;
            if (slot.outcome.ok)
                slot.result = output.Take();
        }
        if (!slot.outcome.ok)
            ++failed;
        return slot;
    };
    bool outputBroken = false;
    const auto deliver = [&](int, Slot& slot) {
        if (!slot.outcome.ok) {
            progress.Message(slot.failedName + QStringLiteral(": ") + slot.outcome.reason);
        } else if (!toFolder && !stdoutFile.Write(slot.result)) {
            // Nothing more can reach standard output: the batch ends here.
            progress.Message(standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
            outputBroken = true;
        }
        return !outputBroken;
    };
    int done = 0;
    const auto tick = [&](int finished) {
        done = finished;
        progress.Update(done, failed);
    };
    RunInOrder<Slot>(total, job.jobs, toFolder ? total : job.jobs, convert, deliver, tick);

    if (!toFolder && !outputBroken && !stdoutFile.Commit()) {
        progress.Message(standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
        outputBroken = true;
    }
    progress.Finish(done, failed);
    return failed > 0 || outputBroken ? ToolFailure : ToolSuccess;
}

} // namespace mGlyfora
