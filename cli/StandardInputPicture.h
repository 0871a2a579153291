// The picture of glyfora-convert's "-": standard input read to its end into a memory
// file, which the loader then opens by name like any picture file.
#pragma once

#include <QString>
#include <optional>

namespace mGlyfora {

class StandardInputPicture {
public:
    // Reads standard input (`input`) to its end; at most `limit` bytes are taken. Nothing,
    // with the reason in `error` (platform/ErrorText.h), when reading failed.
    static std::optional<StandardInputPicture> Read(int input, qint64 limit, QString* error);
    StandardInputPicture(StandardInputPicture&& other) noexcept;
    StandardInputPicture& operator=(StandardInputPicture&&) = delete;
    ~StandardInputPicture();

    // A name the loader can open.
    QString Path() const;

private:
    explicit StandardInputPicture(int fd) : fd_(fd) {}

    int fd_ = -1;
};

} // namespace mGlyfora
