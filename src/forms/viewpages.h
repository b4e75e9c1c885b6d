#pragma once

#include <string>

namespace tamcal {

// The two small pages the report window shows instead of a report: the one
// shown while a report is built, and the one shown when a build wrote nothing.
std::string waitPageText();
std::string errorPageText();

} // namespace tamcal
