// The sort sequence's process state: which language the blocks of coltbl
// are tailored to. Internal to the library and its tests.
#pragma once

#include <string>

namespace qstr::collate {

// The (at most two-letter) code the blocks are tailored to now; "EN" at load.
std::string tailoredLanguage();

// Back to the state at load: start-up values in every tailored cell and
// "EN". Tests only; not safe against concurrent comparisons.
void resetSortSequence();

}  // namespace qstr::collate
