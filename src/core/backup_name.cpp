#include "core/backup_name.h"

namespace penvox::backup {

std::string fileName(std::string_view titleUtf8)
{
    std::string name(titleUtf8);
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    name += ".txt";
    return name;
}

}  // namespace penvox::backup
