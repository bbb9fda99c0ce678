// Country detection state (internal).
#pragma once

namespace qstr::frame {

// Forgets the detected country ID: the next QtpiGetCountryID detects again.
// Tests only.
void resetCountryDetection();

}  // namespace qstr::frame
