// Path and folder routines: the stored spelling of a path, trailing
// separators, wildcard masks, the recursive file search and the folders the
// program finds relative to its executable. Paths are UTF-8.
#pragma once

#include <functional>
#include <string>

namespace kvx {

// The absolute form of `path` with each existing component spelt as the file
// system stores it (a component that matches an entry only when case is
// ignored takes the entry's spelling). From the first component that does
// not exist on, the rest of the path is kept as given.
void LongPathName(const std::string& path, std::string& result);
// Removes the trailing path separators, so that one can be appended: "/",
// or "\" in a path written the Windows way (one without any "/"; in any other
// path a "\" belongs to a name). A root ("/", "C:\") stays as it is.
std::string StripTrailingBackslash(std::string& path);
// Calls `found` with the path of every regular file in `folder` and its
// subfolders whose name matches `mask` ("*" and "?" wildcards, case
// ignored), in sorted order. Symbolic links to folders are not followed;
// unreadable folders are skipped.
void SearchFilesRecursive(const std::string& folder, const std::string& mask,
                          const std::function<void(const std::string&)>& found);
// True when `name` matches the wildcard mask, case ignored.
bool WildcardMatch(const std::string& mask, const std::string& name);

// The folder of the running executable (from /proc/self/exe; the working
// folder when that cannot be read).
std::string ExecutableFolder();
// The folder of the data files shipped with the program:
// "<executable folder>/../share/kandrevoltinex/data". An installed tree has
// it under its prefix; a build tree has the same path as a link to the
// source tree's data/ folder. Empty when the folder does not exist.
std::string ShippedDataFolder();
// Where that folder belongs, whether it exists or not.
std::string ShippedDataFolderPath();

}  // namespace kvx
