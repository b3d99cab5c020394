#pragma once
// The system names its files as paths relative to the data root, written with backslashes or
// slashes in any case ("nastaven\nast_pr.txt", "Ext_Ucty\DodListy\CestaImp.txt"). On a
// case-sensitive disk each component is matched against the real directory entries ignoring
// case, so that every spelling finds the one real file.

#include <QString>

namespace brix {

struct ResolvedPath {
    // The real path when the file or directory exists; otherwise the path to create: the
    // components that exist in their real spelling, the rest as the system wrote them.
    // Empty when the path cannot be mapped (see error).
    QString path;
    bool exists = false;
    bool isDir = false;
    // Czech text of why the path cannot be mapped (it leaves the data root).
    QString error;

    bool ok() const { return !path.isEmpty(); }
};

// Maps a path of the system onto the data root. Empty and "." components are dropped; a ".."
// component or a drive letter ("C:") is refused, so that no path leaves the root. A path that
// starts with "/" is an absolute path of this machine and is matched the same way from "/".
// Where several entries differ only in case, the one spelled exactly wins, else the first in
// sorted order.
ResolvedPath resolvePath(const QString& root, QStringView systemPath);

// The real path, or the path to create; empty when the path cannot be mapped.
QString resolvedFilePath(const QString& root, QStringView systemPath);

} // namespace brix
