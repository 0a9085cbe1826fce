#pragma once
// What the find and replace windows remember for the whole run (never
// stored): the text of the last find-next in either window, and the replace
// window's match-case box as it was at that window's last find-next, which
// replace all goes by.
#include <QString>

namespace penvox {

struct SearchMemory {
    QString lastSearch;
    bool replaceCaseFlag = false;
};

}  // namespace penvox
