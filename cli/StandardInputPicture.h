// The picture of glyfora-convert's "-": standard input read to its end into a memory
// file, which the loader then opens by name like any picture file.
#pragma once

#include <QString>

namespace mGlyfora {

class StandardInputPicture {
public:
    // Reads standard input (`input`) to its end; at most `limit` bytes are taken.
    StandardInputPicture(int input, qint64 limit);
    ~StandardInputPicture();
    StandardInputPicture(const StandardInputPicture&) = delete;
    StandardInputPicture& operator=(const StandardInputPicture&) = delete;

    // A name the loader can open, or empty when reading failed (see Error).
    QString Path() const;
    QString Error() const { return error_; }

private:
    int fd_ = -1;
    QString error_;
};

} // namespace mGlyfora
