// The parameters of a system log message are stored as one text, joined with ";", and
// read back by splitting that text at each ";" (an empty text gives no parameter). So a
// list reads back as given only when no parameter holds a ";" or is null and the list is
// not one empty parameter. An embedding server calls this check before it creates a
// record; the tool refuses such a list before it writes anything.
#pragma once

#include "objects/kelmtadm.hpp"

#include <string>

// Appends to parameters the ones stored in text, in order, split at each ";" (empty ones
// included); an empty or null text holds none. Reads the text's bytes where they are.
void KelAppendStoredParameters(KelString const& text, KelSystemLogRecord::Parameters& parameters);

// Empty when parameters read back exactly as given; otherwise why not (naming the first
// parameter at fault, counted from 1).
std::string KelMessageParametersProblem(KelSystemLogRecord::Parameters const& parameters);
