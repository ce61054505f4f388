#pragma once
// Pieces shared by the two ways the history file is replaced (a save and a
// downloaded update): a new file is built under a work name beside the target
// and renamed over it in one step. Internal to the core library.

#include <QString>

namespace mirkano::detail {

// A system error (errno) in words the user can act on.
QString systemCause(int err);

// The file a path names after following every symbolic link, also one that
// points to a file not yet made. Replacing that file keeps a link a link.
QString resolveLinks(const QString& path);

// Whether another program has the file open for writing (the kernel grants
// no read lease then) or holds a database writer's lock on it.
bool heldForWriting(const QString& path);

// Makes a rename in the folder durable; failures here do not undo the rename.
void syncFolder(const QString& dir);

// A work file beside a target, ".<target name>.<unique id><suffix>", made new
// (mode 0644) and locked for as long as this object lives, which tells a later
// replacement of the same target that it is not a leftover. Closing it keeps
// the file; remove() deletes it and a journal the database engine left beside it.
class WorkFile {
public:
    // suffix is one of kWorkSuffixes. On failure fd() is negative and error()
    // holds the system error.
    WorkFile(const QString& dir, const QString& targetName, const char* suffix);
    ~WorkFile();
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;

    int fd() const { return m_fd; }
    int error() const { return m_error; }
    const QString& path() const { return m_path; }
    void remove() const;

private:
    QString m_path;
    int m_fd = -1;
    int m_error = 0;
};

// Work file suffixes: a save's and a downloaded update's.
inline constexpr char kSaveWorkSuffix[] = ".tmp";
inline constexpr char kDownloadWorkSuffix[] = ".download";

// Removes work files of either kind (and their journals) that replacements of
// the same target left when they were cut short. Only files no one holds
// locked and last written before this process started are taken for
// leftovers: their process is gone.
void removeStaleWorkFiles(const QString& dir, const QString& targetName);

}  // namespace mirkano::detail
