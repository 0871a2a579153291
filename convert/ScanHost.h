// What a scan needs from its surroundings: a progress bar, a chance to let pending
// events through, its own cancel check, and a way to show its one error message. The
// progress dialog, the command-line tool, the live preview and the tests each provide one,
// so scans on several threads never share a cancel.
#pragma once

#include <QString>
#include <QtGlobal>

namespace mGlyfora {

class ScanHost {
public:
    virtual ~ScanHost() = default;

    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgress(int position) = 0;
    // Called once per row; the place where a cancel request can arrive.
    virtual void ProcessEvents() = 0;
    // Asked after the first cell of each row and of each block of cells, before a row of
    // art and before each chunk read back: true stops the scan. By default only the program
    // being told to end; a host that can be cancelled adds its own request. Called on the
    // scan's thread.
    virtual bool CancelRequested() const;
    // A message for the person, shown with the critical icon.
    virtual void ReportError(const QString& message) = 0;
    // The scan waits (true) for another copy of the program to let go of the intermediate
    // file, or no longer waits (false). Nothing to show by default.
    virtual void WaitingForAnotherCopy(bool) {}

    // Bytes the assembled result may take before the scan gives up for lack of memory:
    // by default the machine's memory and swap, or the address-space limit if lower.
    virtual qint64 ResultMemoryLimit() const;
};

// A host that shows nothing, lets nothing through, and stops only when the program ends.
class NullScanHost : public ScanHost {
public:
    void SetProgressRange(int, int) override {}
    void SetProgress(int) override {}
    void ProcessEvents() override {}
    void ReportError(const QString&) override {}
};

} // namespace mGlyfora
