// glyfora-convert on many pictures: several conversions at once, results in the order
// the pictures were given, a failed picture reported and the others converted.
#pragma once

#include "cli/PictureConversion.h"

#include <QString>
#include <QStringList>

namespace mGlyfora {

struct BatchJob {
    QStringList pictures; // names as given; "-" is standard input
    PictureOptions options;
    QString outputFolder; // results as files here; empty: one after another on `out`
    QString suffix;       // of the files in outputFolder: ".txt" or ".html"
    int jobs = 1;         // conversions at once
    bool progress = true; // a progress line when standard error is a terminal
};

// The number of processors this process may run on.
int DefaultJobCount();

// Runs the batch; answers the tool's exit status. `out` is taken over and closed.
int RunBatch(const BatchJob& job, int out, int err);

} // namespace mGlyfora
