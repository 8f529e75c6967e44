// The score as the command-line host prints it: each staff in slot order, each layer that holds
// music, one line per measure in the notation of Notation.h ("~" marks a tie).
#pragma once

#include <string>

#include "Document.h"

namespace plovikcli {

std::string ScoreText(const plovikhost::Document& doc);

}  // namespace plovikcli
