#include "core/run_paths.h"

namespace penvox::paths {

namespace {

// folder + "/" + name, with no doubled slash when the folder already ends in one.
std::string join(const std::string& folder, const std::string& name)
{
    std::string out = folder;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    return out + name;
}

// An XDG base folder counts only when it is set and absolute; a relative one
// is to be ignored.
bool usable(const std::string& xdgFolder) { return !xdgFolder.empty() && xdgFolder.front() == '/'; }

}  // namespace

std::string runDirectory(const std::string& executableDir, bool executableDirWritable,
                         const std::string& xdgDataHome, const std::string& home)
{
    if (executableDirWritable)
        return executableDir;
    if (usable(xdgDataHome))
        return join(xdgDataHome, "penvox");
    return join(home, ".local/share/penvox");
}

std::string registryFile(const std::string& xdgConfigHome, const std::string& home)
{
    const std::string base = usable(xdgConfigHome) ? xdgConfigHome : join(home, ".config");
    return join(join(base, "penvox"), "registry.ini");
}

std::string settingsFile(const std::string& folder) { return join(folder, "setting.ini"); }

}  // namespace penvox::paths
