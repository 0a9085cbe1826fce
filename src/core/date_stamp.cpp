#include "core/date_stamp.h"

namespace penvox {

std::string dateStamp(int year, int month, int day) {
  return std::to_string(year) + std::to_string(month) + std::to_string(day);
}

}  // namespace penvox
