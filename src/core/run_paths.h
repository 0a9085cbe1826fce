#pragma once
// Where the program keeps its files, as pure rules over the facts the caller
// gathers from the system (so they can be tested without touching it).
#include <string>

namespace penvox::paths {

// The folder of the executable when it is writable (a portable installation,
// a build folder); otherwise $XDG_DATA_HOME/penvox, or ~/.local/share/penvox
// when XDG_DATA_HOME is unset or empty.
std::string runDirectory(const std::string& executableDir, bool executableDirWritable,
                         const std::string& xdgDataHome, const std::string& home);

// The file that stands in for the registry: $XDG_CONFIG_HOME/penvox/registry.ini,
// or ~/.config/penvox/registry.ini.
std::string registryFile(const std::string& xdgConfigHome, const std::string& home);

// The settings file of a folder: folder + "/setting.ini" (no doubled slash).
std::string settingsFile(const std::string& folder);

}  // namespace penvox::paths
