#pragma once

// Parsing of the input texts by the rules of atoi and atof: leading blanks skipped, the
// longest numeric prefix taken, and a text without one gives 0. Independent of the
// process locale. Values an int cannot hold saturate, and a real that is not finite
// ("inf", "nan", "1e999") gives 0: such texts are not numbers a user means.

#include <string>

int ParseInt(const std::string& text);
double ParseReal(const std::string& text);
