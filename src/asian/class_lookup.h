// The table lookup behind wtoall: finding a character in a class-mapping
// table and choosing the form a mode asks for.
#pragma once

#include <cstdint>

#include "asian/class_tables.h"

namespace qstr::asian {

// The class-mapping table of a country ID (1-4), or null for any other ID.
const ClassTable *classTableFor(unsigned countryId);

// Index of the first pair (in table order) whose cell in `column` equals
// `ch`, or -1 when no pair holds it. Never matches 0 or a separator.
int firstPairHolding(const ClassTable &table, unsigned column, uint16_t ch);

// Group (0-3) of a pair index: the separators before it.
unsigned groupOf(const ClassTable &table, unsigned pair);

// The form `mode` (WTO_...) asks for of `ch` in `table`: `ch` is looked up
// in the column of its own width; case modes move within a case record,
// kana modes within a kana record, width modes to the other column; a mode
// that does not apply to the pair's group, or any other mode value, keeps
// the cell found. `ch` itself when it is 0, is not found, or the chosen
// cell is 0.
uint16_t lookUpForm(const ClassTable &table, uint16_t mode, uint16_t ch);

}  // namespace qstr::asian
