#pragma once

#include <QByteArray>
#include <QString>

// Files that only their owner may read: the history holds whatever the user copied, passwords
// included. Every file the application writes goes through here, so that one implementation
// decides how a folder is made, how a file is replaced and what may be removed.
namespace PrivateFiles {
// Creates the folder and each missing parent, mode 0700; folders that exist are left as they
// are. True when `folder` is a folder afterwards.
bool makeFolder(const QString& folder);

// Replaces the file at `path` with `bytes`, mode 0600, in one rename: the bytes go unbuffered to
// a new file beside it, every write, the fdatasync, the close and the rename are checked, and on
// any failure the new file is removed and the old one is left exactly as it was. Refuses (false,
// nothing changed) when `path` is a symbolic link or anything but a regular file, so a planted
// link never sends the bytes elsewhere. The folder must exist.
bool writeFile(const QString& path, const QByteArray& bytes);

// writeFile without its warning, for callers that report failures themselves: 0 when the file
// was replaced, else the errno value of the step that failed (ELOOP for a link, EISDIR for a
// folder, EINVAL for anything else that is not a regular file).
int replaceFile(const QString& path, const QByteArray& bytes);

// Removes the entry at `path` when it lies directly in `folder`: its parent, resolved through
// links, is the resolved folder, and its name is a plain file name. A link is removed, not its
// target. True when the entry is gone afterwards (also when it was never there); false, and
// nothing removed, for an entry outside the folder or one that could not be removed.
bool removeFile(const QString& path, const QString& folder);

// Renames the entry at `path` to `path` + `suffix` in its folder, or, when that name is taken,
// to `path` + `suffix` + "-2", "-3", ... : nothing is ever replaced. The new path, or an empty
// text (errno set) when the entry could not be renamed.
QString moveAside(const QString& path, const QString& suffix);

// Whether the entry at `path` lies directly in `folder`, by the rule removeFile follows.
bool liesDirectlyIn(const QString& path, const QString& folder);
} // namespace PrivateFiles
