// How the printed documents write figures: rates and hours "###.00", money "#####.00", and what a
// window shows ("$1,234.50") read back as its number first.
#pragma once

#include <string>

namespace kestrel::printed {

std::string Rate(double value);
std::string Amount(double value);
// A figure as a window shows it, printed as money. A line the last clear left empty stays empty
// rather than claiming .00 for a period never calculated.
std::string ShownAmount(const std::string& shown);

}  // namespace kestrel::printed
