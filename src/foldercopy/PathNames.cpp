#include "PathNames.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <unistd.h>

namespace {
const char TemporaryPrefix[] = ".brelko-";
const char TemporarySuffix[] = ".part";

std::string TrimTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
} // namespace

std::string JoinPath(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

std::string LastName(const std::string &path)
{
    const std::string trimmed = TrimTrailingSlashes(path);
    if (trimmed == "/")
        return {};
    const size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string ParentPath(const std::string &path)
{
    const std::string trimmed = TrimTrailingSlashes(path);
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return trimmed.substr(0, slash);
}

std::string ResolvePath(const std::string &path)
{
    if (path.empty())
        return {};
    // Walk up to the deepest part that exists, resolve that, and put the
    // missing tail back on.
    std::string existing = TrimTrailingSlashes(path);
    std::string tail;
    for (;;) {
        char resolved[PATH_MAX];
        if (::realpath(existing.c_str(), resolved)) {
            std::string result = resolved;
            return tail.empty() ? result : JoinPath(result, tail);
        }
        const std::string name = LastName(existing);
        if (name.empty() || existing == ParentPath(existing))
            return path;
        tail = tail.empty() ? name : name + '/' + tail;
        existing = ParentPath(existing);
        if (name == "." || name == "..")
            return path; // a missing tail with dots cannot be resolved honestly
    }
}

bool IsSameOrInside(const std::string &inner, const std::string &outer)
{
    if (inner == outer)
        return true;
    const std::string prefix = outer == "/" ? outer : outer + '/';
    return inner.compare(0, prefix.size(), prefix) == 0;
}

std::string FreeName(const std::string &name, const std::function<bool(const std::string &)> &taken)
{
    size_t dot = name.rfind('.');
    if (dot == 0 || dot == std::string::npos)
        dot = name.size();
    const std::string stem = name.substr(0, dot);
    const std::string extension = name.substr(dot);
    for (unsigned number = 2;; ++number) {
        const std::string candidate = stem + " (" + std::to_string(number) + ")" + extension;
        if (!taken(candidate))
            return candidate;
    }
}

std::string TemporaryName()
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char text[64];
    std::snprintf(text, sizeof text, "%s%d-%08x-%u%s", TemporaryPrefix,
                  static_cast<int>(::getpid()), seed, counter++, TemporarySuffix);
    return text;
}

bool IsTemporaryName(const std::string &name)
{
    const std::string prefix = TemporaryPrefix;
    const std::string suffix = TemporarySuffix;
    return name.size() > prefix.size() + suffix.size() &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}
