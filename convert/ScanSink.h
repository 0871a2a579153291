// Where a scan's rows go as they are made: the intermediate file in the program, the
// output itself in glyfora-convert.
#pragma once

#include <QString>
#include <QtGlobal>

namespace mGlyfora {

class ScanSink {
public:
    virtual ~ScanSink() = default;

    // The next bytes of the result: UTF-8, every row followed by CR LF. False stops the
    // scan.
    virtual bool Write(const char* data, qsizetype size) = 0;
    // Why the last write failed, for the person.
    virtual QString ErrorString() const = 0;
};

} // namespace mGlyfora
