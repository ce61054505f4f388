#pragma once
// Writing a small file whole: the settings file and the CSV exports.

#include <QByteArray>
#include <QString>

namespace mirkano {

// Writes bytes to a new file in the target's folder and renames it over the
// target only once every write, the flush to the disk and the close have
// succeeded, so that a full disk or any other failure leaves the old file as
// it was and no work file behind. A symbolic link is followed and stays a
// link; an existing target keeps its permissions. A target that exists but is
// not a regular file (a folder, a named pipe, a device) is not replaced.
// Returns empty when written, else the cause in words for the user.
QString writeFileWhole(const QString& path, const QByteArray& bytes);

}  // namespace mirkano
