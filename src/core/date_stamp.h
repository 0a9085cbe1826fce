#pragma once
// Date stamps: year, month and day in decimal without leading zeros, joined
// without separators (1 May 2017 gives "201751"). Only ever compared for
// equality with today's stamp, so two dates may share one stamp.
#include <string>

namespace penvox {

std::string dateStamp(int year, int month, int day);

}  // namespace penvox
