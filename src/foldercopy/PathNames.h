#pragma once

#include <functional>
#include <string>

// Path text helpers on the bytes the file system sees.
std::string JoinPath(const std::string &folder, const std::string &name);
// The last name of path, trailing slashes ignored; empty for "/".
std::string LastName(const std::string &path);
// Everything before the last name; "/" for a name right below the root.
std::string ParentPath(const std::string &path);
// The absolute path without ".", ".." or symbolic links; a tail that does not
// exist yet is kept as written. Empty when path is empty.
std::string ResolvePath(const std::string &path);
// True when inner is outer itself or lies inside it (both resolved).
bool IsSameOrInside(const std::string &inner, const std::string &outer);
// "name (2).ext", "name (3).ext", ... : the first that taken() says is free.
std::string FreeName(const std::string &name,
                     const std::function<bool(const std::string &)> &taken);
// A name for a temporary file that no one else is likely to pick.
std::string TemporaryName();
// True for names TemporaryName gives.
bool IsTemporaryName(const std::string &name);
